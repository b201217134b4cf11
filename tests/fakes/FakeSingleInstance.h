#pragma once

#include "platform/SingleInstance.h"

/** Answers the single-instance question as the test sets it. */
class FakeSingleInstance : public SingleInstance
{
    Q_OBJECT
public:
    bool otherInstanceRunning() override { return otherRunning; }
    /** Acts as if a later start asked this instance to show itself. */
    void requestShow() { Q_EMIT showRequested(); }
    /** Acts as if the command line sent a list command; returns the window's reply. */
    ListReply sendListCommand(ListCommand::Kind kind, const QString& text)
    {
        ListReply reply;
        Q_EMIT listCommandReceived(kind, text, &reply);
        return reply;
    }

    bool otherRunning = false;
};

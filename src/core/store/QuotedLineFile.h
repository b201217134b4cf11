#pragma once

#include <QString>

/** Writes one quoted line into a user's file for the Write target. */
class QuotedLineFile
{
public:
    /** Appends the line in one write; a missing file is created. */
    static bool append(const QString& path, const QString& text, QString* error = nullptr);
    /** Replaces the file's content with the line, atomically. */
    static bool create(const QString& path, const QString& text, QString* error = nullptr);
};

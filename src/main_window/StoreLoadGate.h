#pragma once

#include <QObject>
#include <functional>

/**
 * Lets a window paint before its store is read, so a full store does not hold up the first
 * sight of it. Runs `load` once: right after the program's first paint, or sooner when any
 * input reaches the program, so nothing the user does ever sees the list without the store.
 */
class StoreLoadGate : public QObject
{
public:
    explicit StoreLoadGate(std::function<void()> load);
    ~StoreLoadGate() override;

    /** Runs the load now unless it has run. */
    void open();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> m_load;
};

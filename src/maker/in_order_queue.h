// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "maker/copy_jobs.h"

#include <QSet>
#include <QString>
#include <deque>
#include <functional>
#include <memory>

// Events and picture copies held in the order a make that waits for every
// copy meets them: an event runs, and a copy is completed, only once
// everything before it has been. Main thread only.
class InOrderQueue {
public:
    using Complete = std::function<void(BackgroundCopy& job)>;

    // complete is called for each copy in its turn, once it is finished.
    InOrderQueue(CopyJobs& copies, Complete complete) : m_copies(copies), m_complete(std::move(complete)) {}

    bool empty() const { return m_held.empty(); }
    // The copies held and not yet completed.
    int copiesHeld() const { return m_copiesHeld; }
    bool holdsCopyTo(const QString& destination) const { return m_heldDestinations.contains(destination); }

    void addCopy(std::shared_ptr<BackgroundCopy> job);
    void addEvent(std::function<void()> event);
    // Runs and completes what is held, in order, waiting for up to
    // jobsToWaitFor unfinished copies; stops at the next unfinished copy.
    void release(int jobsToWaitFor);

private:
    struct Held {
        std::function<void()> event; // or
        std::shared_ptr<BackgroundCopy> job;
    };

    CopyJobs& m_copies;
    Complete m_complete;
    std::deque<Held> m_held;
    int m_copiesHeld = 0;
    QSet<QString> m_heldDestinations;
};

// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
// Events and picture copies released in the order they were asked for.
#include "maker/in_order_queue.h"

void InOrderQueue::addCopy(std::shared_ptr<BackgroundCopy> job)
{
    m_heldDestinations.insert(job->destination);
    m_held.push_back({{}, std::move(job)});
    ++m_copiesHeld;
}

void InOrderQueue::addEvent(std::function<void()> event) { m_held.push_back({std::move(event), nullptr}); }

void InOrderQueue::release(int jobsToWaitFor)
{
    while (!m_held.empty()) {
        Held held = m_held.front();
        if (held.job && !m_copies.finished(*held.job)) {
            if (jobsToWaitFor <= 0)
                return;
            --jobsToWaitFor;
            m_copies.waitFor(*held.job);
        }
        m_held.pop_front();
        if (held.job) {
            --m_copiesHeld;
            m_heldDestinations.remove(held.job->destination);
            m_complete(*held.job);
        } else {
            held.event();
        }
    }
}

// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "background_row_consumer.h"

#include "atomic_file.h"

#include <algorithm>

BackgroundRowConsumer::BackgroundRowConsumer(std::function<void(const std::uint8_t*)> consume, std::size_t rowBytes)
    : m_slotCount(slotCountFor(rowBytes)), m_consume(std::move(consume)), m_rowBytes(rowBytes),
      m_slots(rowBytes * m_slotCount)
{
    m_thread = std::thread(&BackgroundRowConsumer::run, this);
}

std::size_t BackgroundRowConsumer::slotCountFor(std::size_t rowBytes)
{
    constexpr std::size_t budget = 8 * 1024 * 1024;
    return std::clamp<std::size_t>(budget / std::max<std::size_t>(rowBytes, 1), 4, 64);
}

BackgroundRowConsumer::~BackgroundRowConsumer()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
        m_abandoned = true;
    }
    m_rowAdded.notify_one();
    if (m_thread.joinable())
        m_thread.join();
}

void BackgroundRowConsumer::push(const std::uint8_t* row)
{
    std::unique_lock lock(m_mutex);
    m_rowTaken.wait(lock, [this] { return m_pushed - m_consumed < m_slotCount || m_failure; });
    if (m_failure)
        return; // reported by finish()
    const std::size_t slot = m_pushed % m_slotCount;
    lock.unlock();
    // The consumer never touches a slot between m_consumed and m_pushed + 1.
    std::copy_n(row, m_rowBytes, &m_slots[slot * m_rowBytes]);
    lock.lock();
    ++m_pushed;
    lock.unlock();
    m_rowAdded.notify_one();
}

void BackgroundRowConsumer::finish()
{
    {
        const std::lock_guard lock(m_mutex);
        m_closed = true;
    }
    m_rowAdded.notify_one();
    m_thread.join();
    if (m_failure)
        std::rethrow_exception(m_failure);
}

void BackgroundRowConsumer::run()
{
    // Termination signals are handled on the thread that owns the output file.
    blockTerminationSignalsInThisThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_rowAdded.wait(lock, [this] { return m_consumed < m_pushed || m_closed; });
        if (m_abandoned || (m_consumed == m_pushed && m_closed))
            return;
        const std::size_t slot = m_consumed % m_slotCount;
        lock.unlock();
        try {
            m_consume(&m_slots[slot * m_rowBytes]);
        } catch (...) {
            lock.lock();
            m_failure = std::current_exception();
            m_rowTaken.notify_one();
            return;
        }
        lock.lock();
        ++m_consumed;
        m_rowTaken.notify_one();
    }
}

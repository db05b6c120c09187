// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

// Runs a row consumer on its own thread so that it works while the producer
// makes the next rows (decoding and resampling then share two cores).
// push() copies each row into a ring of slots and blocks only when the ring
// is full; rows reach the consumer in order. finish() waits for the last row
// and rethrows what the consumer threw. Destroying the object without
// finish() abandons the remaining rows and joins the thread.
class BackgroundRowConsumer {
public:
    BackgroundRowConsumer(std::function<void(const std::uint8_t*)> consume, std::size_t rowBytes);
    ~BackgroundRowConsumer();
    BackgroundRowConsumer(const BackgroundRowConsumer&) = delete;
    BackgroundRowConsumer& operator=(const BackgroundRowConsumer&) = delete;

    void push(const std::uint8_t* row);
    void finish();

private:
    void run();

    // As many slots as fit in a few megabytes, so that wide rows cost no more.
    static std::size_t slotCountFor(std::size_t rowBytes);

    std::size_t m_slotCount;

    std::function<void(const std::uint8_t*)> m_consume;
    std::size_t m_rowBytes;
    std::vector<std::uint8_t> m_slots;
    std::mutex m_mutex;
    std::condition_variable m_rowAdded;
    std::condition_variable m_rowTaken;
    std::size_t m_pushed = 0;   // rows handed over so far
    std::size_t m_consumed = 0; // rows the consumer has finished with
    bool m_closed = false;      // no more rows will come
    bool m_abandoned = false;   // stop without consuming the rest
    std::exception_ptr m_failure;
    std::thread m_thread;
};

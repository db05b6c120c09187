// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace util {

// A system library opened when first needed rather than linked, so that the
// programs start without it; never closed (what it made lives on). Its
// functions are looked up by name; the first failure gives the reason.
class LoadedLibrary {
public:
    explicit LoadedLibrary(const char* name);
    // Whether the library opened and every function looked up was there.
    bool complete() const { return m_handle != nullptr && m_reason.empty(); }
    const std::string& reason() const { return m_reason; }

    template <typename Function>
    LoadedLibrary& resolve(const char* symbol, Function& function)
    {
        function = reinterpret_cast<Function>(lookUp(symbol));
        return *this;
    }

private:
    void* lookUp(const char* symbol);

    std::string m_name;
    void* m_handle = nullptr;
    std::string m_reason;
};

} // namespace util

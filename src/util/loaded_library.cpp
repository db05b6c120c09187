// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "loaded_library.h"

#include <dlfcn.h>

namespace util {

LoadedLibrary::LoadedLibrary(const char* name) : m_name(name), m_handle(::dlopen(name, RTLD_NOW | RTLD_LOCAL))
{
    if (m_handle == nullptr) {
        const char* error = ::dlerror();
        m_reason = error != nullptr ? error : m_name + " cannot be loaded";
    }
}

void* LoadedLibrary::lookUp(const char* symbol)
{
    if (m_handle == nullptr)
        return nullptr;
    void* function = ::dlsym(m_handle, symbol);
    if (function == nullptr && m_reason.empty())
        m_reason = m_name + " has no " + symbol;
    return function;
}

} // namespace util

// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/configuration_items.h"

#include "base/runtime_error.h"

ConfigurationItem& ConfigurationItems::add(std::unique_ptr<ConfigurationItem> item)
{
    const QString key = item->name().toLower();
    if (m_byKey.contains(key))
        Errors::raise(Errors::DuplicateKey);
    ConfigurationItem& added = *item;
    m_byKey.insert(key, &added);
    m_items.push_back(std::move(item));
    return added;
}

ConfigurationItem* ConfigurationItems::find(const QString& name) const
{
    return m_byKey.value(name.toLower(), nullptr);
}

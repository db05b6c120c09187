// SPDX-FileCopyrightText: 2026 The ZEL developers
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "config/configuration_item.h"

#include <QHash>
#include <memory>
#include <vector>

// The item store: insertion order, keys compared without regard to letter case.
class ConfigurationItems {
public:
    // Takes the item; a name already present raises 457 and the item is dropped.
    ConfigurationItem& add(std::unique_ptr<ConfigurationItem> item);
    // nullptr when there is no item of that name.
    ConfigurationItem* find(const QString& name) const;
    const std::vector<std::unique_ptr<ConfigurationItem>>& items() const { return m_items; }
    std::size_t count() const { return m_items.size(); }

private:
    std::vector<std::unique_ptr<ConfigurationItem>> m_items;
    QHash<QString, ConfigurationItem*> m_byKey;
};

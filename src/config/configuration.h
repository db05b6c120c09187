#pragma once

#include "config/configuration_items.h"

#include <QString>
#include <cstdint>

// The run state of the open kiosk system: one item store, built anew by every
// open, read by every other module by item name.
namespace configuration {

// The current store. Raises Invalid argument (5) before the first open.
ConfigurationItems& configurationItems();
bool hasConfiguration();
// Replaces the store by a new, empty one; the previous items are dropped.
void newConfigurationItems();

// Creates, initialises and adds an item. A duplicate name in addInteger is a
// fatal report ("Error No. 457 in configuration.addInteger when adding ...").
clsIntegerConfigurationItem& addInteger(const QString& name, std::int16_t defaultValue,
                                        std::int16_t minimum, std::int16_t maximum);
clsStringConfigurationItem& addString(const QString& name, const QString& defaultValue);

// Applies every setting line of the file (comments and blank lines skipped).
// A bad line is a fatal report naming it.
void readConfigurationFile(const QString& path);
// Applies one setting line: name, a blank, value.
void add(const QString& line);
// Writes "name = value" for every item to the log, in store order.
void list();

// Access by item name. A missing item (or one of the other kind) raises
// Invalid argument (5).
clsIntegerConfigurationItem& integerItem(const QString& name);
clsStringConfigurationItem& stringItem(const QString& name);
std::int16_t integerValue(const QString& name);
QString stringValue(const QString& name);
void setIntegerValue(const QString& name, std::int16_t value);

// The open kiosk system's folder, always ending with the separator.
QString kioskSystemFolder();

// New store, folder check, log file, run-state items, configurable items with
// their defaults, then configuration.txt. Ends the program when the folder or
// its configuration file is missing. Without a log (LogFile::None) nothing is
// written into the folder and logFileNumber is 0.
enum class LogFile { Create, None };
void openConfiguration(const QString& folder, LogFile log = LogFile::Create);

} // namespace configuration

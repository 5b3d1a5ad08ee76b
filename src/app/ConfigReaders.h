#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "app/Config.h"
#include "app/SettingsKeys.h"

class SettingsStore;

// The readers' conversions of stored texts. A text that is not a number gives nothing,
// and the caller keeps the value it had.
namespace ConfigReaders {

// A whole number ("2", " 7 "); nothing for other texts or numbers outside int32.
std::optional<int32_t> wholeNumber(const QString& text);
// A whole number from `low` to `high`; nothing for any other text.
std::optional<int> wholeNumberIn(const QString& text, int low, int high);
// A decimal number rounded to a whole number, an exact half going to the even
// neighbour (7.5 -> 8, 6.5 -> 6, 2.5 -> 2); nothing for other texts or numbers
// outside int32 after rounding.
std::optional<int32_t> roundedDecimal(const QString& text);

QString read(const SettingsStore& store, const Settings::Key& key);
void write(SettingsStore& store, const Settings::Key& key, const QString& value);

// Loads one value from the store into `target` when the stored text converts.
void loadWhole(const SettingsStore& store, const Settings::Key& key, int32_t& target);
void loadWhole(const SettingsStore& store, const Settings::Key& key, int16_t& target);

// The maximum file size ("文件最大值", rounded).
void loadMaxFileSize(const SettingsStore& store, Config& config);
// The download window's values in their order: method, slot choice (only when the
// method is not 1), same-name policy, proxy address, port and switch, maximum size.
void loadDownloadValues(const SettingsStore& store, Config& config);
void loadAskPathAtExtraction(const SettingsStore& store, Config& config);

}  // namespace ConfigReaders

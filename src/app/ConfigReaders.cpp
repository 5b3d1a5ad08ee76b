#include "app/ConfigReaders.h"

#include <cmath>
#include <limits>

#include "platform/settings/SettingsStore.h"

namespace ConfigReaders {

std::optional<int32_t> wholeNumber(const QString& text) {
    bool ok = false;
    const qlonglong value = text.trimmed().toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return int32_t(value);
}

std::optional<int32_t> roundedDecimal(const QString& text) {
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value)) {
        return std::nullopt;
    }
    // nearbyint rounds half to even in the default rounding mode.
    const double rounded = std::nearbyint(value);
    if (rounded < std::numeric_limits<int32_t>::min() ||
        rounded > std::numeric_limits<int32_t>::max()) {
        return std::nullopt;
    }
    return int32_t(rounded);
}

QString read(const SettingsStore& store, const Settings::Key& key) {
    return store.SettingsRead(key.section, key.key, key.defaultValue);
}

void write(SettingsStore& store, const Settings::Key& key, const QString& value) {
    store.SettingsWrite(key.section, key.key, value);
}

void loadWhole(const SettingsStore& store, const Settings::Key& key, int32_t& target) {
    if (const auto value = wholeNumber(read(store, key))) {
        target = *value;
    }
}

void loadWhole(const SettingsStore& store, const Settings::Key& key, int16_t& target) {
    const auto value = wholeNumber(read(store, key));
    if (value && *value >= std::numeric_limits<int16_t>::min() &&
        *value <= std::numeric_limits<int16_t>::max()) {
        target = int16_t(*value);
    }
}

void loadMaxFileSize(const SettingsStore& store, Config& config) {
    if (const auto value = roundedDecimal(read(store, Settings::kMaxFileSize))) {
        config.maxFileSizeMB = *value;
    }
}

std::optional<int> wholeNumberIn(const QString& text, int low, int high) {
    const std::optional<int32_t> value = wholeNumber(text);
    if (!value || *value < low || *value > high) {
        return std::nullopt;
    }
    return *value;
}

void loadDownloadValues(const SettingsStore& store, Config& config) {
    loadWhole(store, Settings::kDownloadMethod, config.downloadMethod);
    if (config.downloadMethod != 1) {
        loadWhole(store, Settings::kSlotChoice, config.slotChoiceIndex);
    }
    config.duplicatePolicy = read(store, Settings::kDuplicatePolicy);
    config.proxyHost = read(store, Settings::kProxyHost);
    config.proxyPort = read(store, Settings::kProxyPort);
    loadWhole(store, Settings::kProxyEnabled, config.proxyEnabled);
    loadMaxFileSize(store, config);
    config.downloadValuesLoaded = true;
}

void loadAskPathAtExtraction(const SettingsStore& store, Config& config) {
    loadWhole(store, Settings::kAskPathAtExtraction, config.AskPathAtExtraction);
    config.askPathLoaded = true;
}

}  // namespace ConfigReaders

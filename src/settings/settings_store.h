#pragma once

// Reading and writing the settings: the store behind the process-wide Settings record.

#include <cstdint>
#include <string>
#include <string_view>

// The file whose existence shows that settings were written before.
std::string PreferencesFilePath();

// Start-up: opens the user's store, then writes the first-run defaults when its file does not
// exist and loads the settings otherwise (a folder in its place counts as existing).
void OpenSettingsStore();
// Shutdown: closes the store. Only writes that were made without a flush are still pending.
void CloseSettingsStore();

// Fills the record with the first-run values and writes all sixteen keys with one flush.
void WriteFirstRunDefaults();

// Reads the keys into the record and derives the option words. Invalid values are kept as they
// are and derive nothing; nothing is written back.
void LoadSettings();

// The key's text, or empty when the store holds no text for it.
std::string ReadStringSetting(std::string_view key);

enum class Flush { Now, Later };

// Stores one key; Flush::Now writes the store's file at once. Failures are not reported.
void WriteSetting(std::string_view key, std::int64_t value, Flush flush = Flush::Now);
void WriteSetting(std::string_view key, std::string_view value, Flush flush = Flush::Now);

// Writes the file after a series of Flush::Later writes.
void SynchronizeSettings();

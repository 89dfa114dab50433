#pragma once

// The per-user key-value store in which the settings persist between runs: integers and texts
// under key names, flushed on request, kept in one file whose existence shows that settings were
// written at least once. Main thread only.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The store's file for the current user; empty when the user's folders cannot be named.
std::string UserDefaultsFilePath();

// Opens the current user's store, closing one opened before. Until a store is open, reads find
// nothing and writes go nowhere. False when its file is there but is not a regular file (a
// FIFO, a device): it is neither read nor written then.
bool OpenUserDefaults();
// Writes what is still pending and closes the store.
void CloseUserDefaults();

// The key's integer; 0 when the key is missing or holds no whole number.
std::int64_t UserDefaultsInteger(std::string_view key);
// The key's text in UTF-8 (a number reads as its digits); nothing when the key holds no text.
std::optional<std::string> UserDefaultsString(std::string_view key);

// Changes take effect in memory at once and reach the file with the next synchronisation.
void SetUserDefaultsInteger(std::string_view key, std::int64_t value);
void SetUserDefaultsString(std::string_view key, std::string_view value);

// Writes the pending changes to the file, replacing it whole so that it is never seen half
// written. Never waits for another writer: while one holds the file, the changes stay in
// memory and are written a moment later. Only a file of ours is rewritten, through a link to
// one too (the link stays): a link to nothing, a file of another user (also through a link) and
// a file holding lines that are not settings stay as they are, the changes stay in memory, and
// a line on standard error says why. Other failures are not reported.
void SynchronizeUserDefaults();

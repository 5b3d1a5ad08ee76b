#pragma once

// The state of a download entry, shown as the row's small icon (icon number = value).
enum class EntryState { Waiting = 1, Downloading = 2, Done = 3, Failed = 4 };

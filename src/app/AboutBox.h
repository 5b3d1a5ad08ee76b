#pragma once

class Dialogs;

// The about box of the search and download windows.
void ShowAboutBox(Dialogs& dialogs);

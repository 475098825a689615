#pragma once

// Start-up: lays the main window out for the stored alphabet and fills the
// controls and shared settings.
void LoadSettings();
// After the alphabet switch: the other alphabet's layout and settings, then the
// sound bank.
void ReloadSettingsForAlphabet();

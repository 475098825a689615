#pragma once

// Writes the main window's settings of the alphabet in use. A box that holds no
// number, or a file that cannot be opened or written, throws platform::Failure;
// nothing is written before the boxes have converted.
void SaveMainSettings();

// The list rows of this program: one group row holding a label and a text
// box for each number, the labels from the string table; and their release.
#pragma once
#include <windows.h>

#include "listwin/list_state.h"

constexpr int kRowSettings = 0;
// Items of the group in the order of the screen, each label above its box.
constexpr int kItemTextMessageLabel = 0;
constexpr int kItemTextMessageTextBox = 1;
constexpr int kItemVoiceMailLabel = 2;
constexpr int kItemVoiceMailTextBox = 3;
constexpr int kSettingsItemCount = 4;

// Item iItem of the settings group, or null while the rows do not exist.
ListItem* GetSettingsItem(int iItem);

// Builds the rows, replacing any built before; the text boxes start empty.
// FALSE, with a trace line, when there is no memory for them.
BOOL BuildListRows();

// Frees the row array and every sub-item block, clearing the pointers.
void ReleaseListItems();

#pragma once

#include <QString>

class QComboBox;

// Selects the first entry of the list whose item data equals the number given as text (compared
// as numbers). When no entry matches, or the text is no number, the selection stays as it was.
void SelectComboByItemData(QComboBox* combo, const QString& number);

#pragma once

#include <QString>

// A fresh GUID in its registry form ({XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}, upper-case), with
// every character of `remove` taken out.
QString CreateGUIDKey(const QString& remove);

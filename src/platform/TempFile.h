#pragma once

#include <QString>

// Creates a new empty file in the folder named the prefix followed by up to four upper-case
// hexadecimal digits and ".TMP" (for instance "HC1F3A.TMP") and returns its full path, or "" when
// no such file can be created.
QString createTempFileName(const QString& folder, const QString& prefix);

#pragma once

#include <QtGlobal>

#include <functional>

// Long work reports how far it has come as it goes; an answer of false means the user cancelled,
// and the work stops without leaving anything half written.
using Progress = std::function<bool(qint64 done, qint64 total)>;

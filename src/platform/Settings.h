#pragma once

#include <QList>
#include <QPair>
#include <QString>

// The per-user settings store: values kept as text under an application name, a section and a key.
QString getSetting(
    const QString& appName, const QString& section, const QString& key, const QString& defaultValue = QString());
// The store's files are readable by their owner only. False when the value could not be written.
bool saveSetting(const QString& appName, const QString& section, const QString& key, const QString& value);
void deleteSetting(const QString& appName, const QString& section, const QString& key);
// Every key of a section with its value, in the order the store keeps them.
QList<QPair<QString, QString>> getAllSettings(const QString& appName, const QString& section);

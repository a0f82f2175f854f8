#pragma once

#include <QString>

class QTreeWidget;
class QTreeWidgetItem;

// Keyed nodes on a QTreeWidget: each node carries its key as item data.
namespace TreeNodes {
QString keyOf(const QTreeWidgetItem* node);
// The first node with that key, searched through the whole tree; no object when none has it.
QTreeWidgetItem* find(const QTreeWidget* tree, const QString& key);
// Adds a node as the last child of parent (a top-level node when parent is no object).
QTreeWidgetItem* add(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& key, const QString& caption);
// Adds a node just before or just after a sibling.
QTreeWidgetItem* addBefore(QTreeWidgetItem* sibling, const QString& key, const QString& caption);
QTreeWidgetItem* addAfter(QTreeWidgetItem* sibling, const QString& key, const QString& caption);
// Sets a node's caption; its tooltip shows the same, for a caption the tree is too narrow for.
void setCaption(QTreeWidgetItem* node, const QString& caption);
// Makes the tree show whole captions: one wider than the tree scrolls it sideways instead of
// being cut with "…".
void showWholeCaptions(QTreeWidget* tree);
} // namespace TreeNodes

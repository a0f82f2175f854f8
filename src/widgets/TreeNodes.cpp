#include "widgets/TreeNodes.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

namespace TreeNodes {

namespace {
constexpr int kKeyRole = Qt::UserRole + 1;

QTreeWidgetItem* makeNode(const QString& key, const QString& caption)
{
    auto* node = new QTreeWidgetItem;
    setCaption(node, caption);
    node->setData(0, kKeyRole, key);
    return node;
}

QTreeWidgetItem* insertAt(QTreeWidgetItem* sibling, int offset, const QString& key, const QString& caption)
{
    QTreeWidgetItem* node = makeNode(key, caption);
    if (QTreeWidgetItem* parent = sibling->parent()) {
        parent->insertChild(parent->indexOfChild(sibling) + offset, node);
    } else {
        QTreeWidget* tree = sibling->treeWidget();
        tree->insertTopLevelItem(tree->indexOfTopLevelItem(sibling) + offset, node);
    }
    return node;
}
} // namespace

QString keyOf(const QTreeWidgetItem* node)
{
    return node ? node->data(0, kKeyRole).toString() : QString();
}

QTreeWidgetItem* find(const QTreeWidget* tree, const QString& key)
{
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(tree)); *it; ++it) {
        if (keyOf(*it) == key)
            return *it;
    }
    return nullptr;
}

QTreeWidgetItem* add(QTreeWidget* tree, QTreeWidgetItem* parent, const QString& key, const QString& caption)
{
    QTreeWidgetItem* node = makeNode(key, caption);
    if (parent)
        parent->addChild(node);
    else
        tree->addTopLevelItem(node);
    return node;
}

QTreeWidgetItem* addBefore(QTreeWidgetItem* sibling, const QString& key, const QString& caption)
{
    return insertAt(sibling, 0, key, caption);
}

QTreeWidgetItem* addAfter(QTreeWidgetItem* sibling, const QString& key, const QString& caption)
{
    return insertAt(sibling, 1, key, caption);
}

void setCaption(QTreeWidgetItem* node, const QString& caption)
{
    node->setText(0, caption);
    node->setToolTip(0, caption);
}

void showWholeCaptions(QTreeWidget* tree)
{
    tree->setTextElideMode(Qt::ElideNone);
    tree->header()->setStretchLastSection(false);
    tree->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    // Only the captions in view are measured: measuring every node each time one is added or
    // recaptioned would make filling a tree of thousands of questions quadratic.
    tree->header()->setResizeContentsPrecision(0);
    tree->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

} // namespace TreeNodes

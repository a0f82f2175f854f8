// The Design screen's part of the main window's layout, and what the window asks of the screen
// without reaching into its controls.
#include "designer/DesignScreen.h"
#include "widgets/RichTextBox.h"
#include "widgets/ScreenParts.h"
#include "widgets/Twips.h"

#include <QLabel>
#include <QTreeWidget>

using namespace Twips;

void DesignScreen::layOut(const ScreenSpace& space)
{
    // The title panels span the screen.
    layoutRule({ widthOf(this) }, [&] {
        setWidth(picTitle, widthOf(this));
        setWidth(picTitles, widthOf(this));
    });
    // The property pane fills the screen right of the boxes.
    {
        const int width = widthOf(this) - leftOf(lvListView) - 150;
        const int height = heightOf(this) - topOf(lvListView) - space.statusBarHeight + 300;
        layoutRule({ width, height }, [&] {
            setWidth(lvListView, width);
            setHeight(lvListView, height);
        });
    }
    layoutRule({ widthOf(lvListView), heightOf(lvListView) }, [&] {
        setWidth(picQProperties, widthOf(lvListView));
        setHeight(picQProperties, heightOf(lvListView));
    });
    // The library box at the bottom, the question tree above it.
    setTop(picLibraryView, heightOf(this) - heightOf(picLibraryView));
    setTop(picBlankPanel2, heightOf(picLibraryView) - heightOf(picBlankPanel2) - 25);
    {
        const int height = heightOf(this) - topOf(this) - heightOf(picLibraryView) - 150;
        layoutRule({ height }, [&] { setHeight(picTreeView, height); });
    }
    {
        const int height = heightOf(picTreeView) - topOf(picTreeView) + 500;
        layoutRule({ height }, [&] { setHeight(tvTreeView, height); });
    }
    setTop(picBlankPanel, heightOf(picTreeView) - heightOf(picBlankPanel) - 20);
    {
        const int width = widthOf(picQProperties) - leftOf(txtQ) - 300;
        layoutRule({ width }, [&] { setWidth(txtQ, width); });
    }
    {
        const int width = widthOf(this) - leftOf(lblInstructions) - 150;
        layoutRule({ width }, [&] { setWidth(lblInstructions, width); });
    }
}

void DesignScreen::removeAllNodes()
{
    // As the user's node click on nothing: the pane shows no question.
    tvTreeView->clear();
}

QTreeWidgetItem* DesignScreen::currentNode() const
{
    return tvTreeView->currentItem();
}

bool DesignScreen::editorIsEmpty() const
{
    return txtQ->text().isEmpty();
}

void DesignScreen::commitShownQuestion()
{
    // The pane's own visibility: the text is committed whichever screen is showing.
    if (!picQProperties->isHidden())
        txtQ_LostFocus();
}

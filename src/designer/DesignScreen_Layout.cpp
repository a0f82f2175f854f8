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
    LayoutRule({ Width(this) }, [&] {
        SetWidth(picTitle, Width(this));
        SetWidth(picTitles, Width(this));
    });
    // The property pane fills the screen right of the boxes.
    {
        const int width = Width(this) - Left(lvListView) - 150;
        const int height = Height(this) - Top(lvListView) - space.statusBarHeight + 300;
        LayoutRule({ width, height }, [&] {
            SetWidth(lvListView, width);
            SetHeight(lvListView, height);
        });
    }
    LayoutRule({ Width(lvListView), Height(lvListView) }, [&] {
        SetWidth(picQProperties, Width(lvListView));
        SetHeight(picQProperties, Height(lvListView));
    });
    // The library box at the bottom, the question tree above it.
    SetTop(picLibraryView, Height(this) - Height(picLibraryView));
    SetTop(picBlankPanel2, Height(picLibraryView) - Height(picBlankPanel2) - 25);
    {
        const int height = Height(this) - Top(this) - Height(picLibraryView) - 150;
        LayoutRule({ height }, [&] { SetHeight(picTreeView, height); });
    }
    {
        const int height = Height(picTreeView) - Top(picTreeView) + 500;
        LayoutRule({ height }, [&] { SetHeight(tvTreeView, height); });
    }
    SetTop(picBlankPanel, Height(picTreeView) - Height(picBlankPanel) - 20);
    {
        const int width = Width(picQProperties) - Left(txtQ) - 300;
        LayoutRule({ width }, [&] { SetWidth(txtQ, width); });
    }
    {
        const int width = Width(this) - Left(lblInstructions) - 150;
        LayoutRule({ width }, [&] { SetWidth(lblInstructions, width); });
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
    return txtQ->Text().isEmpty();
}

void DesignScreen::commitShownQuestion()
{
    // The pane's own visibility: the text is committed whichever screen is showing.
    if (!picQProperties->isHidden())
        txtQ_LostFocus();
}

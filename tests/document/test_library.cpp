// The question library read without a window: categories and their questions by name, and one
// question's text.
#include "ProgramFolder.h"
#include "document/QuestionLibrary.h"
#include "platform/Database.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

TEST(QuestionLibraryTest, CategoriesAndQuestionsComeByNameAndTextsById)
{
    ProgramFolder folder;
    const QString path = folder.file(QStringLiteral("library.mdb"));
    QFile(path).open(QIODevice::WriteOnly);
    db::Connection library;
    library.open(path);
    library.execute(QStringLiteral("CREATE TABLE category (id INTEGER PRIMARY KEY, name TEXT)"));
    library.execute(QStringLiteral("CREATE TABLE question (id INTEGER PRIMARY KEY, name TEXT, categoryid INTEGER)"));
    library.execute(QStringLiteral("INSERT INTO category VALUES (1, 'health'), (2, 'Age'), (3, NULL), (4, 'Age')"));
    library.execute(QStringLiteral("INSERT INTO question VALUES (10, 'do you smoke?', 1), (11, 'Any allergies?', 1), "
                                   "(12, NULL, 4), (13, 'Which school?', 4), (14, 'Nowhere', 9), (15, 'Any?', 1)"));

    QStringList read;
    for (const QuestionLibrary::Category& category : QuestionLibrary::readCategories(library)) {
        QStringList questions;
        for (const QuestionLibrary::Question& question : category.questions)
            questions << QString::number(question.id) + QLatin1Char('=') + question.name;
        read << QString::number(category.id) + QLatin1Char('=') + category.name + QLatin1Char(':')
                + questions.join(QLatin1Char(','));
    }
    EXPECT_EQ(read.join(QLatin1String(" | ")).toStdString(),
        "3=: | 2=Age: | 4=Age:12=,13=Which school? | 1=health:11=Any allergies?,15=Any?,10=do you smoke?");

    EXPECT_EQ(QuestionLibrary::readQuestionText(library, 13), std::optional<QString>(QStringLiteral("Which school?")));
    EXPECT_EQ(QuestionLibrary::readQuestionText(library, 12), std::optional<QString>(QString()));
    EXPECT_EQ(QuestionLibrary::readQuestionText(library, 99), std::nullopt);
}

} // namespace

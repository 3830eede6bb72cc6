// The window's fonts name the one installed family of their list of
// stand-ins: it has to be the family the toolkit would have drawn with.
#include <gtest/gtest.h>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QStringList>

#include "gui/widgets/fonts.h"

namespace tallix::gui::test {
namespace {

QString Drawn(const QStringList& families) {
    QFont f;
    f.setFamilies(families);
    f.setPixelSize(11);
    return QFontInfo(f).family();
}

// Two installed families by their plain names: the database lists a family
// made by several foundries as "Family [foundry]".
QStringList TwoInstalled() {
    QStringList found;
    for (QString family : QFontDatabase::families()) {
        const qsizetype foundry = family.indexOf(QLatin1String(" ["));
        if (foundry > 0) family.truncate(foundry);
        if (QFontDatabase::isPrivateFamily(family) || found.contains(family)) continue;
        found << family;
        if (found.size() == 2) break;
    }
    return found;
}

TEST(Fonts, FirstInstalledIsTheFamilyTheWholeListWouldDraw) {
    const QStringList installed = TwoInstalled();
    ASSERT_EQ(installed.size(), 2) << "the test machine needs two font families";
    const QString a = installed[0], b = installed[1];
    // Aliases the font configuration knows ("Sans Serif", "Arial" where it
    // maps it to a look-alike) are not installed families: the toolkit passes
    // over them in a list, and so must the choice.
    const QStringList lists[] = {
        {"No Such Family", a},
        {"No Such Family", "Another Missing One", b, a},
        {a, b},
        {b.toUpper(), a},
        {"Arial", "Helvetica", "Liberation Sans", a},
        {"Sans Serif", b},
        {"Monospace", a},
        {"serif", "No Such Family", b},
    };
    for (const QStringList& list : lists) {
        SCOPED_TRACE(list.join(", ").toStdString());
        const QStringList chosen = FirstInstalled(list);
        ASSERT_EQ(chosen.size(), 1);
        EXPECT_TRUE(list.contains(chosen.front()));
        EXPECT_EQ(Drawn(chosen).toStdString(), Drawn(list).toStdString());
    }
}

TEST(Fonts, NothingInstalledKeepsTheWholeList) {
    const QStringList none = {"No Such Family", "Another Missing One"};
    EXPECT_EQ(FirstInstalled(none), none);
}

} // namespace
} // namespace tallix::gui::test

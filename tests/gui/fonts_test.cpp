// The window's fonts name the one installed family of their list of
// stand-ins: it has to be the family the toolkit would have drawn with.
#include <gtest/gtest.h>

#include <algorithm>

#include <QFont>
#include <QFontDatabase>
#include <QFontInfo>
#include <QMap>
#include <QRawFont>
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

// A family as the database names it, without the foundry it adds where a
// family has copies from several.
QString WithoutFoundry(const QString& name) {
    const qsizetype foundry = name.indexOf(QLatin1String(" ["));
    return foundry > 0 ? name.left(foundry) : name;
}

// Two installed families by their plain names: the database lists a family
// made by several foundries as "Family [foundry]".
QStringList TwoInstalled() {
    QStringList found;
    for (const QString& name : QFontDatabase::families()) {
        const QString family = WithoutFoundry(name);
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

// A font read from an OpenType or TrueType file has the tables of that
// format; a Type 1 font has none.
bool FromSfntFile(const QString& family) {
    QFont f(family);
    f.setPixelSize(11);
    return !QRawFont::fromFont(f).fontTable("head").isEmpty();
}

// Families the database lists under more than one foundry, each with the
// names "Family [foundry]" of its copies.
QMap<QString, QStringList> FamiliesWithCopies() {
    QMap<QString, QStringList> copies;
    for (const QString& name : QFontDatabase::families())
        if (WithoutFoundry(name) != name) copies[WithoutFoundry(name)] << name;
    return copies;
}

TEST(Fonts, AFamilyNamedByItsFasterCopyIsStillThatFamily) {
    for (const QString family : {"No Such Family", "Sans Serif"})
        EXPECT_EQ(FastestCopy(family).toStdString(), family.toStdString());
    const QMap<QString, QStringList> copies = FamiliesWithCopies();
    for (auto it = copies.begin(); it != copies.end(); ++it) {
        const QString& family = it.key();
        const QString chosen = FastestCopy(family);
        SCOPED_TRACE((family + " as " + chosen).toStdString());
        // The toolkit must take the foundry's name: otherwise it would draw
        // with some other family altogether.
        EXPECT_EQ(WithoutFoundry(Drawn({chosen})).toStdString(), family.toStdString());
        if (chosen != family) {
            EXPECT_TRUE(it.value().contains(chosen));
            EXPECT_TRUE(FromSfntFile(chosen));
        }
    }
}

TEST(Fonts, TheWindowsFontsAreNotReadFromType1FilesWhenAnotherCopyIsThere) {
    const QMap<QString, QStringList> copies = FamiliesWithCopies();
    for (const QFont& font : {DialogFont(8, 96), SmallFont(96), MonoFont(96)}) {
        const QString family = WithoutFoundry(QFontInfo(font).family());
        SCOPED_TRACE(family.toStdString());
        const QStringList named = copies.value(family);
        if (std::any_of(named.begin(), named.end(), FromSfntFile)) {
            EXPECT_FALSE(QRawFont::fromFont(font).fontTable("head").isEmpty());
        }
    }
}

TEST(Fonts, NothingInstalledKeepsTheWholeList) {
    const QStringList none = {"No Such Family", "Another Missing One"};
    EXPECT_EQ(FirstInstalled(none), none);
}

} // namespace
} // namespace tallix::gui::test

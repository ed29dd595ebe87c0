// The window's File menu and its layout, every row against the figures written out here.
#include <gtest/gtest.h>

#include <string>

#include "FormLayout.h"
#include "FormMenu.h"

using namespace quelvar;
using namespace quelvar::layout;

namespace {

TEST(FormTables, EveryItemOfTheFileMenu) {
    const struct {
        const char* name;
        const char* caption;
        char ctrlKey;
        void (EditorDocument::*procedure)();
    } kItems[] = {
        {"mnuNew", "&New Templete", 'N', &EditorDocument::mnuNew_Click},
        {"mnuOpen", "&Open Templete", 'O', &EditorDocument::mnuOpen_Click},
        {"mnuSave", "&Save Templete", 'S', &EditorDocument::mnuSave_Click},
        {"mnuQuit", "&Quit", 0, &EditorDocument::mnuQuit_Click},
    };
    ASSERT_EQ(kFileMenu.size(), std::size(kItems));
    for (std::size_t i = 0; i < kFileMenu.size(); ++i) {
        EXPECT_EQ(kFileMenu[i].name, kItems[i].name) << i;
        EXPECT_EQ(kFileMenu[i].caption, kItems[i].caption) << i;
        EXPECT_EQ(kFileMenu[i].ctrlKey, kItems[i].ctrlKey) << i;
        EXPECT_TRUE(kFileMenu[i].procedure == kItems[i].procedure) << kItems[i].name;
    }
    EXPECT_EQ(kFileMenuName, "mnuFile");
    EXPECT_EQ(kFileMenuCaption, "File(&F)");
    EXPECT_EQ(kItemsBeforeSeparator, 3u);
    EXPECT_EQ(kSeparatorName, "mnuSp0");
}

// In tab order; places relative to the container, the frame's corner at (0, 735). Each label
// names its field: the field's caption and box name are pinned by TemplateTables.
TEST(FormTables, EveryLabelAndBoxOfTheLayout) {
    const struct {
        Container container;
        const char* labelName;
        Twips label;
        Align alignment;
        std::size_t field;
        Twips place;
    } kRows[] = {
        {Container::Window,
         "Label1",
         {105, 105, 855, 225},
         Align::Right,
         kTagName,
         {945, 82, 4845, 270}},
        {Container::Window,
         "Label2",
         {105, 420, 855, 225},
         Align::Right,
         kAuthor,
         {945, 397, 4845, 270}},
        {Container::Frame,
         "Label4",
         {105, 210, 1170, 225},
         Align::Left,
         kBaseElement,
         {1260, 180, 4425, 270}},
        {Container::Frame,
         "Label6",
         {105, 525, 855, 225},
         Align::Left,
         kElement1,
         {945, 502, 4740, 270}},
        {Container::Frame,
         "Label7",
         {420, 840, 645, 225},
         Align::Right,
         kDefault1,
         {1050, 817, 4635, 270}},
        {Container::Frame,
         "Label8",
         {105, 1185, 855, 225},
         Align::Left,
         kElement2,
         {945, 1162, 4740, 270}},
        {Container::Frame,
         "Label9",
         {420, 1500, 645, 225},
         Align::Right,
         kDefault2,
         {1050, 1470, 4635, 270}},
        {Container::Frame,
         "Label10",
         {105, 1785, 855, 225},
         Align::Left,
         kElement3,
         {945, 1785, 4740, 270}},
        {Container::Frame,
         "Label11",
         {420, 2130, 645, 225},
         Align::Right,
         kDefault3,
         {1155, 2100, 4530, 270}},
        {Container::Frame,
         "Label3",
         {105, 2520, 540, 225},
         Align::Right,
         kIndex,
         {630, 2490, 645, 270}},
        {Container::Frame,
         "Label5",
         {1575, 2520, 855, 225},
         Align::Left,
         kCloseTag,
         {2415, 2497, 3270, 270}},
    };
    const auto same = [](const Twips& a, const Twips& b) {
        return a.left == b.left && a.top == b.top && a.width == b.width && a.height == b.height;
    };
    ASSERT_EQ(kTabOrder.size(), std::size(kRows));
    for (std::size_t row = 0; row < kTabOrder.size(); ++row) {
        const LabelledBox& placed = kTabOrder[row];
        const auto& expected = kRows[row];
        EXPECT_EQ(placed.container, expected.container) << expected.labelName;
        EXPECT_EQ(placed.labelName, expected.labelName) << row;
        EXPECT_TRUE(same(placed.label, expected.label)) << expected.labelName;
        EXPECT_EQ(placed.alignment, expected.alignment) << expected.labelName;
        EXPECT_EQ(placed.field, expected.field) << expected.labelName;
        EXPECT_TRUE(same(placed.box, expected.place)) << expected.labelName;
    }
    EXPECT_EQ(kRowsBeforeFrame, 2u);
    EXPECT_TRUE(same(kClientArea, {0, 0, 5790, 3585}));
    EXPECT_TRUE(same(kFrame, {0, 735, 5790, 2850}));
    EXPECT_EQ(kFrameCaption, "MainData");
    EXPECT_EQ(kWindowCaption, "Quelvar Edit Tool");
    EXPECT_TRUE(same(InClientArea(Container::Frame, {420, 2130, 645, 225}), {420, 2865, 645, 225}));
    EXPECT_TRUE(same(InClientArea(Container::Window, {945, 82, 4845, 270}), {945, 82, 4845, 270}));
}

}  // namespace

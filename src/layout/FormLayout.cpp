#include "FormLayout.h"

namespace quelvar::layout {

// The third default box starts further right and is narrower than the first two; all the
// boxes in the frame end at the same right edge.
// One label and its box a line, as a table.
// clang-format off
const std::array<LabelledBox, kFieldCount> kTabOrder{{
    {Container::Window, "Label1",  {105, 105, 855, 225},   Align::Right, kTagName,     {945, 82, 4845, 270}},
    {Container::Window, "Label2",  {105, 420, 855, 225},   Align::Right, kAuthor,      {945, 397, 4845, 270}},
    {Container::Frame,  "Label4",  {105, 210, 1170, 225},  Align::Left,  kBaseElement, {1260, 180, 4425, 270}},
    {Container::Frame,  "Label6",  {105, 525, 855, 225},   Align::Left,  kElement1,    {945, 502, 4740, 270}},
    {Container::Frame,  "Label7",  {420, 840, 645, 225},   Align::Right, kDefault1,    {1050, 817, 4635, 270}},
    {Container::Frame,  "Label8",  {105, 1185, 855, 225},  Align::Left,  kElement2,    {945, 1162, 4740, 270}},
    {Container::Frame,  "Label9",  {420, 1500, 645, 225},  Align::Right, kDefault2,    {1050, 1470, 4635, 270}},
    {Container::Frame,  "Label10", {105, 1785, 855, 225},  Align::Left,  kElement3,    {945, 1785, 4740, 270}},
    {Container::Frame,  "Label11", {420, 2130, 645, 225},  Align::Right, kDefault3,    {1155, 2100, 4530, 270}},
    {Container::Frame,  "Label3",  {105, 2520, 540, 225},  Align::Right, kIndex,       {630, 2490, 645, 270}},
    {Container::Frame,  "Label5",  {1575, 2520, 855, 225}, Align::Left,  kCloseTag,    {2415, 2497, 3270, 270}},
}};
// clang-format on

Twips InClientArea(Container container, const Twips& place) {
    if (container == Container::Window) {
        return place;
    }
    return {kFrame.left + place.left, kFrame.top + place.top, place.width, place.height};
}

}  // namespace quelvar::layout

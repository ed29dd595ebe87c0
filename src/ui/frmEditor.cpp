#include "frmEditor.h"

#include <QAction>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "Twips.h"

namespace quelvar {

namespace {

// Where each control stands, in twips inside its container, in tab order.
struct Placement {
    int left, top, width, height;
};

enum class Container { Window, Frame };

struct LabelledBox {
    Container container;
    const char* labelName;
    Placement label;
    Qt::Alignment alignment;
    std::size_t field;
    Placement box;
};

constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;

const LabelledBox kLayout[] = {
    {Container::Window, "Label1", {105, 105, 855, 225}, kRight, kTagName, {945, 82, 4845, 270}},
    {Container::Window, "Label2", {105, 420, 855, 225}, kRight, kAuthor, {945, 397, 4845, 270}},
    {Container::Frame,
     "Label4",
     {105, 210, 1170, 225},
     kLeft,
     kBaseElement,
     {1260, 180, 4425, 270}},
    {Container::Frame, "Label6", {105, 525, 855, 225}, kLeft, kElement1, {945, 502, 4740, 270}},
    {Container::Frame, "Label7", {420, 840, 645, 225}, kRight, kDefault1, {1050, 817, 4635, 270}},
    {Container::Frame, "Label8", {105, 1185, 855, 225}, kLeft, kElement2, {945, 1162, 4740, 270}},
    {Container::Frame, "Label9", {420, 1500, 645, 225}, kRight, kDefault2, {1050, 1470, 4635, 270}},
    {Container::Frame, "Label10", {105, 1785, 855, 225}, kLeft, kElement3, {945, 1785, 4740, 270}},
    {Container::Frame,
     "Label11",
     {420, 2130, 645, 225},
     kRight,
     kDefault3,
     {1155, 2100, 4530, 270}},
    {Container::Frame, "Label3", {105, 2520, 540, 225}, kRight, kIndex, {630, 2490, 645, 270}},
    {Container::Frame, "Label5", {1575, 2520, 855, 225}, kLeft, kCloseTag, {2415, 2497, 3270, 270}},
};

constexpr Placement kClientArea{0, 0, 5790, 3585};
constexpr Placement kFrame{0, 735, 5790, 2850};

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

QRect Pixels(const Placement& p, double scale) {
    return TwipsToPixels(p.left, p.top, p.width, p.height, scale);
}

}  // namespace

frmEditor::frmEditor(QWidget* parent)
    : QMainWindow(parent), CD(new QtCommonDialog(this)), msgBox_(this), doc_(msgBox_, *CD, *this) {
    setObjectName("frmEditor");
    setWindowTitle("Quelvar Edit Tool");
    // Reading any image first loads every image plugin Qt has, a good part of the start-up
    // time: the icon follows the first frame instead.
    QTimer::singleShot(0, this, [this] {
        QIcon icon;
        for (const char* size : {"16", "32", "48"}) {
            icon.addFile(QString(":/icons/quelvar-edit-%1.png").arg(size));
        }
        setWindowIcon(icon);
    });
    BuildMenu();
    BuildControls();
    doc_.Fields().AddChangeListener([this](std::size_t field) { ShowField(field); });
    doc_.Form_Load();
}

void frmEditor::BuildMenu() {
    mnuFile = menuBar()->addMenu("File(&F)");
    mnuFile->setObjectName("mnuFile");
    const auto item = [this](const char* name, const char* caption, QKeySequence shortcut,
                             void (EditorDocument::*procedure)()) {
        QAction* action = mnuFile->addAction(caption);
        action->setObjectName(name);
        action->setShortcut(shortcut);
        connect(action, &QAction::triggered, this, [this, procedure] { (doc_.*procedure)(); });
        return action;
    };
    mnuNew = item("mnuNew", "&New Templete", QKeySequence(Qt::CTRL | Qt::Key_N),
                  &EditorDocument::mnuNew_Click);
    mnuOpen = item("mnuOpen", "&Open Templete", QKeySequence(Qt::CTRL | Qt::Key_O),
                   &EditorDocument::mnuOpen_Click);
    mnuSave = item("mnuSave", "&Save Templete", QKeySequence(Qt::CTRL | Qt::Key_S),
                   &EditorDocument::mnuSave_Click);
    mnuSp0 = mnuFile->addSeparator();
    mnuSp0->setObjectName("mnuSp0");
    mnuQuit = item("mnuQuit", "&Quit", QKeySequence(), &EditorDocument::mnuQuit_Click);
}

void frmEditor::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    {
        // One factor for everything: the larger of what a text box and the widest caption need.
        QLineEdit sampleBox;
        QLabel sampleLabel;
        scale_ = LayoutScale(sampleBox);
        for (const LabelledBox& placed : kLayout) {
            scale_ =
                std::max(scale_, CaptionScale(sampleLabel, Text(TemplateFields[placed.field].label),
                                              placed.label.width));
        }
    }
    client->setFixedSize(Pixels(kClientArea, scale_).size());

    fraMainData = new QGroupBox("MainData", client);
    fraMainData->setObjectName("fraMainData");
    fraMainData->setGeometry(Pixels(kFrame, scale_));

    QLabel** labels[] = {&Label1, &Label2,  &Label4,  &Label6, &Label7, &Label8,
                         &Label9, &Label10, &Label11, &Label3, &Label5};
    QWidget* previous = nullptr;
    for (std::size_t row = 0; row < std::size(kLayout); ++row) {
        const LabelledBox& placed = kLayout[row];
        const TemplateField& field = TemplateFields[placed.field];
        QWidget* container = placed.container == Container::Window ? client : fraMainData;

        auto* label = new QLabel(Text(field.label), container);
        label->setObjectName(placed.labelName);
        label->setAlignment(placed.alignment);
        label->setGeometry(Pixels(placed.label, scale_));
        *labels[row] = label;

        auto* box = new QLineEdit(container);
        box->setObjectName(Text(field.textBox));
        box->setGeometry(Pixels(placed.box, scale_));
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setToolTip(Text(field.tooltip));
        box->setAccessibleName(QString(Text(field.label)).remove('&'));
        box->setAccessibleDescription(Text(field.tooltip));
        // The buddy gives the access key (N, A, B, I, C) where the caption has one.
        label->setBuddy(box);
        textBoxes_[placed.field] = box;

        const std::size_t index = placed.field;
        connect(box, &QLineEdit::textChanged, this, [this, index](const QString& text) {
            doc_.Fields().SetText(index, text.toStdString());
        });
        if (previous) {
            setTabOrder(previous, box);
        }
        previous = box;
    }
    txtAuthor = textBoxes_[kAuthor];
    txtBaseElement = textBoxes_[kBaseElement];
    txtCloseTag = textBoxes_[kCloseTag];
    txtDefault1 = textBoxes_[kDefault1];
    txtDefault2 = textBoxes_[kDefault2];
    txtDefault3 = textBoxes_[kDefault3];
    txtElement1 = textBoxes_[kElement1];
    txtElement2 = textBoxes_[kElement2];
    txtElement3 = textBoxes_[kElement3];
    txtIndex = textBoxes_[kIndex];
    txtTagName = textBoxes_[kTagName];
    txtTagName->setFocus();

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

void frmEditor::ShowField(std::size_t field) {
    const QString text = QString::fromStdString(doc_.Fields().Text(field));
    if (textBoxes_[field]->text() != text) {
        textBoxes_[field]->setText(text);
    }
}

void frmEditor::Unload() {
    close();
}

}  // namespace quelvar

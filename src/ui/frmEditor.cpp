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

#include "LayoutScale.h"
#include "Twips.h"

namespace quelvar {

namespace {

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

Qt::Alignment Alignment(layout::Align align) {
    return (align == layout::Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

}  // namespace

frmEditor::frmEditor(QWidget* parent)
    : QMainWindow(parent), CD(new QtCommonDialog(this)), msgBox_(this), doc_(msgBox_, *CD, *this) {
    setObjectName("frmEditor");
    setWindowTitle(Text(layout::kWindowCaption));
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
        scale_ = layout::LayoutScale(
            kQtDpi, sampleBox.sizeHint().height(), [&sampleLabel](std::string_view caption) {
                return sampleLabel.fontMetrics().horizontalAdvance(Text(CaptionText(caption)));
            });
    }
    client->setFixedSize(TwipsToPixels(layout::kClientArea, scale_).size());

    fraMainData = new QGroupBox(Text(layout::kFrameCaption), client);
    fraMainData->setObjectName("fraMainData");
    fraMainData->setGeometry(TwipsToPixels(layout::kFrame, scale_));

    QLabel** labels[] = {&Label1, &Label2,  &Label4,  &Label6, &Label7, &Label8,
                         &Label9, &Label10, &Label11, &Label3, &Label5};
    static_assert(std::size(labels) == layout::kTabOrder.size());
    QWidget* previous = nullptr;
    for (std::size_t row = 0; row < layout::kTabOrder.size(); ++row) {
        const layout::LabelledBox& placed = layout::kTabOrder[row];
        const TemplateField& field = TemplateFields[placed.field];
        QWidget* container = placed.container == layout::Container::Window ? client : fraMainData;

        auto* label = new QLabel(Text(field.label), container);
        label->setObjectName(Text(placed.labelName));
        label->setAlignment(Alignment(placed.alignment));
        label->setGeometry(TwipsToPixels(placed.label, scale_));
        *labels[row] = label;

        auto* box = new QLineEdit(container);
        box->setObjectName(Text(field.textBox));
        box->setGeometry(TwipsToPixels(placed.box, scale_));
        box->setMaxLength(std::numeric_limits<int>::max());
        box->setToolTip(Text(field.tooltip));
        box->setAccessibleName(Text(CaptionText(field.label)));
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

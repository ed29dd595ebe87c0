#include "frmEditor.h"

#include <QAction>
#include <QEvent>
#include <QGroupBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <limits>

#include "FormMenu.h"
#include "LayoutScale.h"
#include "QtText.h"
#include "Twips.h"

namespace quelvar::qt {

namespace {

Qt::Alignment Alignment(layout::Align align) {
    return (align == layout::Align::Right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// One factor for everything: the larger of what a text box and the widest caption need.
double MeasureLayoutScale() {
    const QLineEdit sampleBox;
    const QLabel sampleLabel;
    return layout::LayoutScale(
        kQtDpi, sampleBox.sizeHint().height(), [&sampleLabel](std::string_view caption) {
            return sampleLabel.fontMetrics().horizontalAdvance(Text(CaptionText(caption)));
        });
}

}  // namespace

frmEditor::frmEditor(MsgBox& msgBox, CommonDialog& fileDialog, QWidget* parent)
    : QMainWindow(parent), doc_(msgBox, fileDialog, *this) {
    setObjectName("frmEditor");
    setWindowTitle(Text(layout::kWindowCaption));
    BuildMenu();
    BuildControls();
    doc_.Fields().AddChangeListener([this](std::size_t field) { ShowField(field); });
    doc_.Form_Load();
}

bool frmEditor::event(QEvent* event) {
    // Reading any image first loads every image plugin Qt has, a good part of the start-up
    // time: the icon follows the first frame. A timer set at the first paint fires only once
    // the window system's events of that frame are handled.
    if (event->type() == QEvent::Paint && !iconPending_) {
        iconPending_ = true;
        QTimer::singleShot(0, this, [this] { SetIcon(); });
    }
    return QMainWindow::event(event);
}

void frmEditor::SetIcon() {
    QIcon icon;
    for (const char* size : {"16", "32", "48"}) {
        icon.addFile(QString(":/icons/quelvar-edit-%1.png").arg(size));
    }
    setWindowIcon(icon);
}

void frmEditor::BuildMenu() {
    QMenu* file = menuBar()->addMenu(Text(layout::kFileMenuCaption));
    file->setObjectName(Text(layout::kFileMenuName));
    for (std::size_t index = 0; index < layout::kFileMenu.size(); ++index) {
        if (index == layout::kItemsBeforeSeparator) {
            file->addSeparator()->setObjectName(Text(layout::kSeparatorName));
        }
        const layout::MenuItem& item = layout::kFileMenu[index];
        QAction* action = file->addAction(Text(item.caption));
        action->setObjectName(Text(item.name));
        if (item.ctrlKey) {
            action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(item.ctrlKey)));
        }
        connect(action, &QAction::triggered, this,
                [this, procedure = item.procedure] { (doc_.*procedure)(); });
    }
}

void frmEditor::BuildControls() {
    auto* client = new QWidget(this);
    client->setObjectName("client");
    setCentralWidget(client);
    scale_ = MeasureLayoutScale();
    client->setFixedSize(TwipsToPixels(layout::kClientArea, scale_).size());

    auto* frame = new QGroupBox(Text(layout::kFrameCaption), client);
    frame->setObjectName(Text(layout::kFrameName));
    frame->setGeometry(TwipsToPixels(layout::kFrame, scale_));

    QWidget* previous = nullptr;
    for (const layout::LabelledBox& row : layout::kTabOrder) {
        QLineEdit* box = PlaceRow(row, row.container == layout::Container::Window ? client : frame);
        if (previous) {
            setTabOrder(previous, box);
        }
        previous = box;
    }
    textBoxes_[kTagName]->setFocus();

    setFixedSize(client->width(), client->height() + menuBar()->sizeHint().height());
}

QLineEdit* frmEditor::PlaceRow(const layout::LabelledBox& row, QWidget* container) {
    const TemplateField& field = TemplateFields[row.field];
    auto* label = new QLabel(Text(field.label), container);
    label->setObjectName(Text(row.labelName));
    label->setAlignment(Alignment(row.alignment));
    label->setGeometry(TwipsToPixels(row.label, scale_));

    auto* box = new QLineEdit(container);
    box->setObjectName(Text(field.textBox));
    box->setGeometry(TwipsToPixels(row.box, scale_));
    box->setMaxLength(std::numeric_limits<int>::max());
    box->setToolTip(Text(field.tooltip));
    box->setAccessibleName(Text(CaptionText(field.label)));
    box->setAccessibleDescription(Text(field.tooltip));
    // The buddy gives the access key (N, A, B, I, C) where the caption has one.
    label->setBuddy(box);
    textBoxes_[row.field] = box;

    connect(box, &QLineEdit::textChanged, this, [this, index = row.field](const QString& text) {
        doc_.Fields().SetText(index, text.toStdString());
    });
    return box;
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

}  // namespace quelvar::qt

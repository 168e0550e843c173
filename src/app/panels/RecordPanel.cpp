#include "app/panels/RecordPanel.h"

#include "app/UiFont.h"
#include "prediction/Prediction.h"
#include "support/QrEncoder.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTextLayout>
#include <QToolTip>
#include <cmath>

namespace quenmar::app {

namespace {

constexpr int kGap = 10;
constexpr int kQrDotsPerMetre = 2834; // 72 dots per inch

// The QR code one pixel per module, black on white.
QImage qrImage(const support::QrMatrix& matrix) {
    QImage image(matrix.width, matrix.width, QImage::Format_RGB888);
    image.fill(Qt::white);
    image.setDotsPerMeterX(kQrDotsPerMetre);
    image.setDotsPerMeterY(kQrDotsPerMetre);
    for (int y = 0; y < matrix.width; ++y) {
        for (int x = 0; x < matrix.width; ++x) {
            if (matrix.isDark(x, y)) {
                image.setPixelColor(x, y, Qt::black);
            }
        }
    }
    return image;
}

} // namespace

RecordPanel::RecordPanel(QWidget* parent) : QWidget(parent) {}

void RecordPanel::buildContent() {
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    const int cw = cell.width();
    const int ch = cell.height();
    const int fullWidth = width();

    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("historyList"));
    m_list->setToolTip(QStringLiteral("双击复盘查看"));
    m_list->setGeometry(0, 0, fullWidth, ch * 8);

    m_selectAll = new QCheckBox(QStringLiteral("全选"), this);
    m_selectAll->setObjectName(QStringLiteral("selectAll"));
    m_selectAll->setGeometry(0, m_list->geometry().bottom() + 1 + kGap, cw * 4, ch * 2);
    m_delete = new QPushButton(QStringLiteral("删除"), this);
    m_delete->setObjectName(QStringLiteral("deleteButton"));
    m_delete->setGeometry(m_selectAll->geometry().right() + 1 + kGap, m_selectAll->y(), cw * 3, ch * 2);
    m_delete->setEnabled(false);

    m_results = new LabeledEdit(QStringLiteral("演算结果:"), LabeledEdit::Placement::Above, this);
    m_results->setObjectName(QStringLiteral("resultsBox"));
    m_results->multiLine()->setReadOnly(true);
    m_results->setGeometry(0, m_selectAll->geometry().bottom() + 1 + kGap, fullWidth, ch * 16);
    m_results->resize(fullWidth, std::max(ch * 16, wholePredictionHeight()));

    m_qrButton = new QPushButton(qrCaption(), this);
    m_qrButton->setObjectName(QStringLiteral("qrButton"));
    m_qrButton->setToolTip(QStringLiteral("以二维码显示演算结果，用手机扫描查看"));
    m_qrButton->setEnabled(false);
    m_qrButton->setGeometry(m_results->geometry().right() + 1 - kGap - cw * 6,
                            m_results->geometry().bottom() + 1 + kGap, cw * 6, ch * 2);

    m_notes = new LabeledEdit(QStringLiteral("用户备注:"), LabeledEdit::Placement::Above, this);
    m_notes->setObjectName(QStringLiteral("notesBox"));
    m_name = new LabeledEdit(QStringLiteral("名称:"), LabeledEdit::Placement::Left, this);
    m_name->setObjectName(QStringLiteral("nameBox"));
    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setToolTip(QStringLiteral("以“名称”保存本次演算，标题自动加上日期 (Ctrl+S)"));
    m_save->setEnabled(false);
    m_help = new QPushButton(QStringLiteral("帮助"), this);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_help->setToolTip(QStringLiteral("打开帮助文档 (F1)"));
    placeLowerControls();
    connectControls();
}

void RecordPanel::connectControls() {
    connect(m_results, &LabeledEdit::edited, this, &RecordPanel::onResultsEdited);
    connect(m_name, &LabeledEdit::edited, this, &RecordPanel::updateSaveButton);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &RecordPanel::updateDeleteButton);
    connect(m_list, &QListWidget::currentRowChanged, this, &RecordPanel::updateDeleteButton);
    connect(m_selectAll, &QCheckBox::clicked, this, [this](bool ticked) {
        for (int i = 0; i < m_list->count(); ++i) {
            m_list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        }
        m_delete->setEnabled(ticked && m_list->count() > 0);
    });
    connect(m_delete, &QPushButton::clicked, this, &RecordPanel::deleteClicked);
    connect(m_help, &QPushButton::clicked, this, &RecordPanel::helpClicked);
    connect(m_save, &QPushButton::clicked, this, &RecordPanel::onSave);
    // Enter in the name box saves as the button would, and only when it would.
    connect(m_name->singleLine(), &QLineEdit::returnPressed, this, [this] {
        if (m_save->isEnabled()) {
            m_save->click();
        }
    });
    m_save->setShortcut(QKeySequence::Save);
    // The list's own keys: Delete for "删除", Select All for "全选" (both only while the list
    // has the focus, so that they never act from inside a text box).
    const auto listKey = [this](QKeySequence::StandardKey key, QAbstractButton* button) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_list);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, button, [button] {
            if (button->isEnabled()) {
                button->click();
            }
        });
    };
    listKey(QKeySequence::Delete, m_delete);
    listKey(QKeySequence::SelectAll, m_selectAll);
    connect(m_qrButton, &QPushButton::clicked, this, &RecordPanel::toggleQr);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        // The review takes the list's current entry, whatever was double-clicked.
        const int row = m_list->currentRow();
        if (row >= 0) {
            emit entryDoubleClicked(entryId(row));
        }
    });
}

void RecordPanel::placeLowerControls() {
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    const int cw = cell.width();
    const int ch = cell.height();
    const int fullWidth = width();
    // From the bottom up: the buttons, then the name box; the notes fill what is left.
    const int buttonTop = height() - kGap - ch * 2;
    const int nameTop = buttonTop - kGap - (ch + 8);
    const int notesTop = m_qrButton->geometry().bottom() + 1 + kGap;
    m_notes->setGeometry(0, notesTop, fullWidth, std::max(ch * 3, nameTop - kGap - notesTop));
    m_name->setGeometry(0, m_notes->geometry().bottom() + 1 + kGap, fullWidth, ch + 8);
    m_save->setGeometry(0, m_name->geometry().bottom() + 1 + kGap, cw * 5, ch * 2);
    m_help->setGeometry(m_save->geometry().right() + 1 + kGap, m_save->y(), cw * 5, ch * 2);
}

int RecordPanel::resultsGrowth() const {
    return m_results->height() - textExtent(font(), QStringLiteral("框")).height() * 16;
}

int RecordPanel::wholePredictionHeight() const {
    // The widest prediction there can be: every pick full of two-digit numbers. The box wraps
    // the long pre-selection line as the box's own text layout does.
    std::array<PickNumbers, kPickCount> widest;
    for (PickNumbers& pick : widest) {
        for (int n = kHighestNumber - kPreselectionSize + 1; n <= kHighestNumber; ++n) {
            pick.push(n);
        }
    }
    const QStringList lines = QString::fromStdString(predictionTextOf(widest)).split(QStringLiteral("\r\n"));
    const QPlainTextEdit* box = m_results->multiLine();
    const qreal margin = box->document()->documentMargin();
    const int frame = box->frameWidth();
    const qreal textWidth = width() - 2 * frame - box->verticalScrollBar()->sizeHint().width() - 2 * margin;
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    int textHeight = 0;
    for (const QString& line : lines) {
        QTextLayout layout(line, box->font());
        layout.setTextOption(wrapping);
        layout.beginLayout();
        qreal blockHeight = 0;
        for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
            row.setLeadingIncluded(true);
            row.setLineWidth(textWidth);
            blockHeight += row.height();
        }
        layout.endLayout();
        // The box stacks its lines block by block, each block rounded up to whole pixels.
        textHeight += static_cast<int>(std::ceil(blockHeight));
    }
    // A margin above and below the text; the box keeps its scroll bar active unless another
    // margin and a pixel are left free below the last line.
    const int editHeight = textHeight + static_cast<int>(std::ceil(3 * margin)) + 1 + 2 * frame;
    return m_results->editorRect().top() + editHeight;
}

void RecordPanel::fillList(const std::vector<store::ListRow>& rows) {
    m_list->clear();
    for (const store::ListRow& row : rows) {
        auto* item = new QListWidgetItem(QString::fromStdString(row.text), m_list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
        item->setData(Qt::UserRole, row.id);
    }
}

void RecordPanel::clearResults() {
    m_results->clear();
    m_notes->clear();
}

void RecordPanel::clearAfterSave() {
    m_notes->clear();
    m_name->clear();
}

void RecordPanel::showResultText(const QString& text) {
    m_results->setText(text);
}

QString RecordPanel::resultText() const {
    // The box shows plain line breaks; its text is handed on (to the QR code) with the
    // CR LF line ends the prediction was written with.
    QString text = m_results->text();
    text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return text;
}

QString RecordPanel::notesText() const {
    return m_notes->text();
}

void RecordPanel::onResultsEdited(bool empty) {
    m_qrButton->setEnabled(!empty);
    updateSaveButton();
    // A code on screen always holds the text beside it: whatever changed the results (a new
    // calculation, "重设", a review) takes the old code away.
    if (m_qrView == QrView::Shown) {
        hideQr();
    }
    emit resultsShown(!empty);
}

void RecordPanel::updateSaveButton() {
    // Asked on every change of either box: a name typed before the results arrive counts as
    // soon as they do, and results taken away disable saving whatever the name.
    m_save->setEnabled(!m_results->text().trimmed().isEmpty() && !m_name->text().trimmed().isEmpty());
}

void RecordPanel::onSave() {
    const QString name = m_name->text();
    if (name.trimmed().isEmpty()) {
        QWidget* box = m_name->editor();
        QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())),
                           QStringLiteral("<b>提示:</b><br>请输入保存的标题,标题将自动加上日期"), box);
        box->setFocus();
        return;
    }
    emit saveClicked(name);
}

QString RecordPanel::qrCaption() const {
    return m_qrView == QrView::Shown ? QStringLiteral("隐藏二维码") : QStringLiteral("用手机查看");
}

void RecordPanel::toggleQr() {
    if (m_qrView == QrView::Hidden) {
        showQr();
    } else {
        hideQr();
    }
}

void RecordPanel::showQr() {
    const QString text = resultText();
    if (text.trimmed().isEmpty()) {
        return;
    }
    m_qrView = QrView::Shown;
    m_qrButton->setText(qrCaption());
    m_qrPicture = new QLabel(this);
    m_qrPicture->setObjectName(QStringLiteral("qrPicture"));
    // Over the results box itself; its caption "演算结果:" stays readable.
    m_qrPicture->setGeometry(m_results->editorRect().translated(m_results->pos()));
    if (const auto matrix = support::encodeQr(text.toStdString())) {
        // Stretched over the results box without smoothing, so the modules stay sharp.
        m_qrPicture->setPixmap(QPixmap::fromImage(
            qrImage(*matrix).scaled(m_qrPicture->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
    } else {
        m_qrPicture->setAlignment(Qt::AlignCenter);
        m_qrPicture->setWordWrap(true);
        m_qrPicture->setAutoFillBackground(true);
        m_qrPicture->setText(QStringLiteral("演算结果过长,无法生成二维码"));
    }
    m_qrPicture->show();
    m_qrPicture->raise();
}

void RecordPanel::hideQr() {
    m_qrView = QrView::Hidden;
    m_qrButton->setText(qrCaption());
    delete m_qrPicture;
    m_qrPicture = nullptr;
}

void RecordPanel::updateDeleteButton() {
    m_delete->setEnabled(!m_list->selectedItems().isEmpty() || m_list->currentRow() >= 0);
}

void RecordPanel::removeTicked(const std::function<bool(const std::vector<int>& recordIds)>& remove) {
    std::vector<int> ticked;
    for (int i = 0; i < m_list->count(); ++i) {
        if (m_list->item(i)->checkState() == Qt::Checked) {
            ticked.push_back(entryId(i));
        }
    }
    if (!remove(ticked)) {
        return;
    }
    // Removing entries is not a selection by the user: the delete button keeps its state.
    const QSignalBlocker blocker(m_list);
    for (int i = m_list->count() - 1; i >= 0; --i) {
        if (m_list->item(i)->checkState() == Qt::Checked) {
            delete m_list->takeItem(i);
        }
    }
}

int RecordPanel::tickedCount() const {
    int ticked = 0;
    for (int i = 0; i < m_list->count(); ++i) {
        ticked += m_list->item(i)->checkState() == Qt::Checked ? 1 : 0;
    }
    return ticked;
}

int RecordPanel::entryId(int row) const {
    return m_list->item(row)->data(Qt::UserRole).toInt();
}

} // namespace quenmar::app

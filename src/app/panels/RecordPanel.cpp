#include "app/panels/RecordPanel.h"

#include "app/UiFont.h"
#include "support/QrEncoder.h"

#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QToolTip>

namespace quenmar::app {

namespace {

constexpr int kGap = 10;
const QString kQrShow = QStringLiteral("用手机查看");
const QString kQrHide = QStringLiteral("隐藏二维码");

} // namespace

LabeledEdit::LabeledEdit(const QString& caption, Placement placement, QWidget* parent)
    : QWidget(parent), m_placement(placement) {
    m_caption = new QLabel(caption, this);
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    m_caption->resize(static_cast<int>(caption.size()) * cell.width(), cell.height());
    if (placement == Placement::Above) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        connect(m_multi, &QPlainTextEdit::textChanged, this,
                [this] { emit edited(m_multi->toPlainText().trimmed().isEmpty()); });
    } else {
        m_single = new QLineEdit(this);
        connect(m_single, &QLineEdit::textChanged, this,
                [this](const QString& text) { emit edited(text.trimmed().isEmpty()); });
    }
}

QString LabeledEdit::text() const {
    return m_multi != nullptr ? m_multi->toPlainText() : m_single->text();
}

void LabeledEdit::setText(const QString& text) {
    if (m_multi != nullptr) {
        m_multi->setPlainText(text);
    } else {
        m_single->setText(text);
    }
}

QWidget* LabeledEdit::editor() const {
    return m_multi != nullptr ? static_cast<QWidget*>(m_multi) : static_cast<QWidget*>(m_single);
}

void LabeledEdit::resizeEvent(QResizeEvent*) {
    const int captionWidth = m_caption->width();
    const int captionHeight = m_caption->height();
    if (m_placement == Placement::Above) {
        m_caption->move(0, 0);
        m_multi->setGeometry(0, captionHeight + 2, width(), std::max(0, height() - captionHeight - 2));
    } else {
        m_caption->move(0, (height() - captionHeight) / 2);
        m_single->setGeometry(captionWidth + 3, 0, std::max(0, width() - captionWidth - 3), height());
    }
}

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

    m_qrButton = new QPushButton(kQrShow, this);
    m_qrButton->setObjectName(QStringLiteral("qrButton"));
    m_qrButton->setEnabled(false);
    m_qrButton->setGeometry(m_results->geometry().right() + 1 - kGap - cw * 6, m_results->geometry().bottom() + 1 + kGap,
                            cw * 6, ch * 2);

    // From the bottom up: the buttons, then the name box; the notes fill what is left.
    const int buttonTop = height() - kGap - ch * 2;
    const int nameTop = buttonTop - kGap - (ch + 8);
    const int notesTop = m_qrButton->geometry().bottom() + 1 + kGap;
    m_notes = new LabeledEdit(QStringLiteral("用户备注:"), LabeledEdit::Placement::Above, this);
    m_notes->setObjectName(QStringLiteral("notesBox"));
    m_notes->setGeometry(0, notesTop, fullWidth, std::max(ch * 3, nameTop - kGap - notesTop));
    m_name = new LabeledEdit(QStringLiteral("名称:"), LabeledEdit::Placement::Left, this);
    m_name->setObjectName(QStringLiteral("nameBox"));
    m_name->setGeometry(0, m_notes->geometry().bottom() + 1 + kGap, fullWidth, ch + 8);
    m_save = new QPushButton(QStringLiteral("保存"), this);
    m_save->setObjectName(QStringLiteral("saveButton"));
    m_save->setEnabled(false);
    m_save->setGeometry(0, m_name->geometry().bottom() + 1 + kGap, cw * 5, ch * 2);
    m_help = new QPushButton(QStringLiteral("帮助"), this);
    m_help->setObjectName(QStringLiteral("helpButton"));
    m_help->setGeometry(m_save->geometry().right() + 1 + kGap, m_save->y(), cw * 5, ch * 2);

    connect(m_results, &LabeledEdit::edited, this, &RecordPanel::onResultsEdited);
    connect(m_name, &LabeledEdit::edited, this, &RecordPanel::onNameEdited);
    connect(m_list, &QListWidget::itemSelectionChanged, this, &RecordPanel::updateDeleteButton);
    connect(m_list, &QListWidget::currentRowChanged, this, &RecordPanel::updateDeleteButton);
    connect(m_selectAll, &QCheckBox::clicked, this, [this](bool ticked) {
        for (int i = 0; i < m_list->count(); ++i) {
            m_list->item(i)->setCheckState(ticked ? Qt::Checked : Qt::Unchecked);
        }
        m_delete->setEnabled(ticked && m_list->count() > 0);
    });
    connect(m_delete, &QPushButton::clicked, this, [this] { emit recordButton(kDeleteButton); });
    connect(m_help, &QPushButton::clicked, this, [this] { emit recordButton(kHelpButton); });
    connect(m_save, &QPushButton::clicked, this, &RecordPanel::onSave);
    connect(m_qrButton, &QPushButton::clicked, this, &RecordPanel::toggleQr);
    connect(m_list, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem*) {
        // The review takes the list's current entry, whatever was double-clicked.
        const int row = m_list->currentRow();
        if (row >= 0) {
            emit entryDoubleClicked(entryId(row));
        }
    });
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
}

void RecordPanel::onNameEdited(bool empty) {
    if (m_results->text().trimmed().isEmpty()) {
        m_save->setEnabled(false);
    } else {
        m_save->setEnabled(!empty);
    }
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

void RecordPanel::toggleQr() {
    if (m_qrButton->text() == kQrShow) {
        const QString text = resultText();
        if (text.trimmed().isEmpty()) {
            return;
        }
        m_qrButton->setText(kQrHide);
        m_qrPicture = new QLabel(this);
        m_qrPicture->setObjectName(QStringLiteral("qrPicture"));
        m_qrPicture->setGeometry(m_results->geometry());
        const auto matrix = support::encodeQr(text.toStdString());
        if (matrix) {
            // One pixel per module on white, stretched over the results box without smoothing.
            QImage image(matrix->width, matrix->width, QImage::Format_RGB888);
            image.fill(Qt::white);
            image.setDotsPerMeterX(2834);
            image.setDotsPerMeterY(2834);
            for (int y = 0; y < matrix->width; ++y) {
                for (int x = 0; x < matrix->width; ++x) {
                    if (matrix->isDark(x, y)) {
                        image.setPixelColor(x, y, Qt::black);
                    }
                }
            }
            m_qrPicture->setPixmap(QPixmap::fromImage(
                image.scaled(m_qrPicture->size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)));
        } else {
            m_qrPicture->setAlignment(Qt::AlignCenter);
            m_qrPicture->setWordWrap(true);
            m_qrPicture->setAutoFillBackground(true);
            m_qrPicture->setText(QStringLiteral("演算结果过长,无法生成二维码"));
        }
        m_qrPicture->show();
        m_qrPicture->raise();
    } else {
        m_qrButton->setText(kQrShow);
        delete m_qrPicture;
        m_qrPicture = nullptr;
    }
}

void RecordPanel::updateDeleteButton() {
    m_delete->setEnabled(!m_list->selectedItems().isEmpty() || m_list->currentRow() >= 0);
}

bool RecordPanel::takeTicked(int row) {
    return m_list->item(row)->checkState() == Qt::Checked;
}

int RecordPanel::entryCount() const {
    return m_list->count();
}

int RecordPanel::entryId(int row) const {
    return m_list->item(row)->data(Qt::UserRole).toInt();
}

void RecordPanel::removeEntry(int row) {
    delete m_list->takeItem(row);
}

} // namespace quenmar::app

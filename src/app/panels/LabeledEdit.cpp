#include "app/panels/LabeledEdit.h"

#include "app/UiFont.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace quenmar::app {

LabeledEdit::LabeledEdit(const QString& caption, Placement placement, QWidget* parent)
    : QWidget(parent), m_placement(placement) {
    m_caption = new QLabel(caption, this);
    const QSize cell = textExtent(font(), QStringLiteral("框"));
    m_caption->resize(static_cast<int>(caption.size()) * cell.width(), cell.height());
    if (placement == Placement::Above) {
        m_multi = new QPlainTextEdit(this);
        m_multi->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        m_multi->setTabChangesFocus(true); // Tab moves on, as everywhere else in the window
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

QRect LabeledEdit::editorRect() const {
    const int captionWidth = m_caption->width();
    const int captionHeight = m_caption->height();
    if (m_placement == Placement::Above) {
        return QRect(0, captionHeight + 2, width(), std::max(0, height() - captionHeight - 2));
    }
    return QRect(captionWidth + 3, 0, std::max(0, width() - captionWidth - 3), height());
}

void LabeledEdit::resizeEvent(QResizeEvent*) {
    if (m_placement == Placement::Above) {
        m_caption->move(0, 0);
    } else {
        m_caption->move(0, (height() - m_caption->height()) / 2);
    }
    editor()->setGeometry(editorRect());
}

} // namespace quenmar::app

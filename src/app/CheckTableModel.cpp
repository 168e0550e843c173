#include "app/CheckTableModel.h"

#include <QColor>
#include <array>
#include <optional>

namespace quenmar::app {

namespace {

constexpr int kPreselectionLine = tally::kBetCount;
constexpr int kProblemLine = -1;
const std::array<const char*, tally::kBetCount> kBetLabels{"一注", "二注", "三注", "四注", "五注",
                                                           "六注", "七注", "八注", "九注", "十注"};
const QColor kHitBackground(255, 214, 214);
const QColor kHitText(200, 0, 0);

QString twoDigits(int number) {
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

// The number a bet shows in a number column (its numbers ascending), or nothing past its end.
std::optional<int> numberAt(const tally::BetCheck& bet, int column) {
    int index = column - CheckTableModel::kFirstNumberColumn;
    std::optional<int> found;
    bet.numbers.forEach([&](int number) {
        if (index-- == 0) {
            found = number;
        }
    });
    return found;
}

} // namespace

CheckTableModel::CheckTableModel(QObject* parent) : QAbstractTableModel(parent) {}

void CheckTableModel::setChecks(std::vector<tally::RecordCheck> checks) {
    beginResetModel();
    m_checks = std::move(checks);
    m_rows.clear();
    for (std::size_t i = 0; i < m_checks.size(); ++i) {
        if (!m_checks[i].picks.computed) {
            m_rows.push_back(Row{i, kProblemLine});
            continue;
        }
        for (int line = 0; line <= kPreselectionLine; ++line) {
            m_rows.push_back(Row{i, line});
        }
    }
    endResetModel();
}

int CheckTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CheckTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumnCount;
}

bool CheckTableModel::isHit(const tally::RecordCheck& check, int line, int column) const {
    if (!check.target || line < 0 || line >= tally::kBetCount || column < kFirstNumberColumn ||
        column >= kHitsColumn) {
        return false;
    }
    const tally::BetCheck& bet = check.bets[static_cast<std::size_t>(line)];
    const std::optional<int> number = numberAt(bet, column);
    return number && bet.hits.contains(*number);
}

QVariant CheckTableModel::display(const tally::RecordCheck& check, int line, int column) const {
    const bool first = line <= 0;
    switch (column) {
    case 0:
        return first ? QString::fromStdString(check.title) : QString();
    case 1:
        if (!first) {
            return QString();
        }
        if (line == kProblemLine) {
            return QStringLiteral("无法计算");
        }
        return check.target ? QString::fromStdString(check.target->issue) : QStringLiteral("未开奖");
    case 2:
        if (line == kProblemLine) {
            return QString::fromStdString(check.picks.problem);
        }
        return line == kPreselectionLine ? QStringLiteral("预选20码")
                                         : QString::fromUtf8(kBetLabels[static_cast<std::size_t>(line)]);
    default:
        break;
    }
    if (line < 0) {
        return QString();
    }
    if (column < kHitsColumn) {
        if (line == kPreselectionLine) {
            return QString();
        }
        const std::optional<int> number = numberAt(check.bets[static_cast<std::size_t>(line)], column);
        return number ? twoDigits(*number) : QString();
    }
    if (!check.target) {
        return QString();
    }
    if (column == kHitsColumn) {
        const int hits = line == kPreselectionLine ? check.preselectionHits
                                                   : check.bets[static_cast<std::size_t>(line)].hits.size();
        return hits;
    }
    if (line == kPreselectionLine) {
        return QString();
    }
    const tally::BetCheck& bet = check.bets[static_cast<std::size_t>(line)];
    if (!bet.playable) {
        return QStringLiteral("不计奖");
    }
    return bet.prize.floating ? QStringLiteral("浮动") : QStringLiteral("%1元").arg(bet.prize.yuan);
}

QVariant CheckTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= static_cast<int>(m_rows.size())) {
        return {};
    }
    const Row& row = m_rows[static_cast<std::size_t>(index.row())];
    const tally::RecordCheck& check = m_checks[row.check];
    switch (role) {
    case Qt::DisplayRole:
        return display(check, row.line, index.column());
    case kHitRole:
        return isHit(check, row.line, index.column());
    case Qt::BackgroundRole:
        return isHit(check, row.line, index.column()) ? QVariant(kHitBackground) : QVariant();
    case Qt::ForegroundRole:
        return isHit(check, row.line, index.column()) ? QVariant(kHitText) : QVariant();
    case Qt::TextAlignmentRole:
        return index.column() >= kFirstNumberColumn ? QVariant(Qt::AlignCenter) : QVariant();
    default:
        return {};
    }
}

QVariant CheckTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    switch (section) {
    case 0:
        return QStringLiteral("记录");
    case 1:
        return QStringLiteral("开奖期号");
    case 2:
        return QStringLiteral("注");
    case kHitsColumn:
        return QStringLiteral("中");
    case kPrizeColumn:
        return QStringLiteral("奖金");
    default:
        return section == kFirstNumberColumn ? QStringLiteral("号码") : QString();
    }
}

} // namespace quenmar::app

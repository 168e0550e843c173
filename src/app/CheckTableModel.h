#pragma once

#include "tally/RecordCheck.h"

#include <QAbstractTableModel>
#include <vector>

// The check of many saved calculations as a table: per record one row for each of its ten
// bets, their numbers one a column with the hits highlighted, hits and prize, then a row for
// 预选20码 with its hit count; a record that cannot be computed gets one row saying why. A
// model, so that a hundred thousand records cost rows only when they are shown.
namespace quenmar::app {

class CheckTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    static constexpr int kFirstNumberColumn = 3;
    static constexpr int kHitsColumn = kFirstNumberColumn + tally::kBetNumbers;
    static constexpr int kPrizeColumn = kHitsColumn + 1;
    static constexpr int kColumnCount = kPrizeColumn + 1;
    /// True for a number cell whose number was drawn.
    static constexpr int kHitRole = Qt::UserRole + 1;

    explicit CheckTableModel(QObject* parent = nullptr);

    void setChecks(std::vector<tally::RecordCheck> checks);
    const std::vector<tally::RecordCheck>& checks() const { return m_checks; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    struct Row {
        std::size_t check = 0;
        int line = 0; // 0..9 a bet, 10 the pre-selection; -1 the reason a record has no numbers
    };

    QVariant display(const tally::RecordCheck& check, int line, int column) const;
    bool isHit(const tally::RecordCheck& check, int line, int column) const;

    std::vector<tally::RecordCheck> m_checks;
    std::vector<Row> m_rows;
};

} // namespace quenmar::app

#include "tally/KeepFetched.h"

#include "draws/Lottery.h"
#include "tally/KeptForm.h"

namespace quenmar::tally {

Result<KeepReport, store::StoreError> keepFetchedDraws(const store::TableDb& db, int code,
                                                       const std::vector<draws::DrawResult>& listed,
                                                       double obtainedAt, std::string_view source) {
    const auto lottery = draws::lotteryByCode(code);
    KeepReport report;
    std::vector<store::KeptDraw> keepable;
    for (const draws::DrawResult& draw : listed) {
        auto kept = lottery ? keptFormOf(*lottery, draw, obtainedAt, source) : std::nullopt;
        if (!kept || keptDrawProblem(*lottery, *kept)) {
            ++report.unusable;
            continue;
        }
        keepable.push_back(std::move(*kept));
    }
    if (keepable.empty()) {
        return report;
    }
    if (auto ensured = store::ensureDrawTable(db); !ensured) {
        return Failure{ensured.error()};
    }
    const auto kept = store::inDrawTransaction(db, [&]() -> Result<void, store::StoreError> {
        for (const store::KeptDraw& draw : keepable) {
            const auto result = store::keepDraw(db, draw);
            if (!result) {
                return Failure{result.error()};
            }
            switch (result->verdict) {
            case store::KeepVerdict::Added:
                ++report.added;
                break;
            case store::KeepVerdict::AlreadyKept:
                ++report.alreadyKept;
                break;
            case store::KeepVerdict::Conflicts:
                report.conflicts.push_back(draw);
                break;
            }
        }
        return {};
    });
    if (!kept) {
        return Failure{kept.error()};
    }
    return report;
}

std::string conflictText(const KeepReport& report) {
    std::string text;
    for (const store::KeptDraw& draw : report.conflicts) {
        const auto lottery = draws::lotteryByCode(draw.code);
        if (!text.empty()) {
            text += ' ';
        }
        text += "第" + draw.issue + "期" + std::string(lottery ? lottery->name : "") +
                "开奖与已保存的不同, 保留已保存的.";
    }
    return text;
}

} // namespace quenmar::tally

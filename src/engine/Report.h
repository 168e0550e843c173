#pragma once

#include "engine/CastRequest.h"
#include "engine/ChartResult.h"
#include "engine/GuaModel.h"

#include <string>
#include <string_view>

// The texts a finished chart is written out as: the title line, the two name labels and the
// report ("卦解"), whose lines each end in CR LF.
namespace quenmar {

/// Caption of the report box.
inline constexpr std::string_view kReportCaption = "-----卦--------基----------数----------分-------析------";

/// "以" + method label + ",卦主生肖:" + zodiac branch + ",日主:" + day pillar + ",时辰:" +
/// hour pillar; every "x" of the method label is replaced by `text`.
std::string chartTitle(CastMethod method, std::string_view text, std::string_view zodiacBranch,
                       std::string_view dayPillar, std::string_view hourPillar);

/// prefix + " " + palace + "宫 (" + generation + ") " + name + " " + soul text.
std::string nameLabel(std::string_view prefix, const GuaModel& gua);

/// The whole report of a completed chart, starting with "卦解:".
std::string writeReport(const ChartResult& chart);

} // namespace quenmar

#pragma once

#include "expert/Annotations.h"

#include <string>
#include <string_view>

// The annotations in words, as both the command line's section and the desktop's chart write
// them.
namespace quenmar {

/// "初爻" ... "六爻" for line 1..6 (the report's labels without their colon); empty outside.
std::string_view lineName(int line);

/// "壬寅年 庚戌月 甲子日 庚午时"; for a moment outside the years of the solar terms the day and
/// hour only, with the reason: "甲子日 庚午时 (年柱、月柱只排1900至2100年)".
std::string fourPillarsText(const Annotations& annotations);

/// The 节 in force and its local minute, "寒露 2022-10-08 15:22"; empty without one.
std::string solarTermText(const Annotations& annotations);

/// "卯 (三爻)", "巳 (二爻、五爻)"; "午 (不上卦)" when no line of the primary carries the branch.
std::string guaShenText(const GuaShen& body);

/// "六冲" or "六合", and "无" for a hexagram that is neither.
std::string kindText(std::string_view kind);

/// The hidden spirit under a line as one word, "子孙甲子水"; empty where none hides.
std::string hiddenText(const LineAnnotation& line);

/// The marks that apply to a line, in the order 空 破 冲: "空冲"; empty for none.
std::string marksText(const LineAnnotation& line);

} // namespace quenmar

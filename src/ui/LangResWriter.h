#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>

namespace tarvix {

// Texts by number, and those by language id.
using LanguageTexts = std::map<int, QString>;
using LangResTexts = std::map<int, LanguageTexts>;

// Builds a LangRes.dll image (layout in ui/LangResLibrary.h). Fails, with a
// reason in `error`, for a language id or text number outside 0..65535 or a
// text longer than 65535 UTF-16 code units.
std::optional<QByteArray> buildLangRes(const LangResTexts& texts, QString* error = nullptr);

}  // namespace tarvix

#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "ProfileError.h"
#include "TemplateFile.h"

// The titles, filter and texts the editor's commands show, in either window. The Windows
// program's few texts of its own (a file dialog that cannot be shown, its start-up) are in
// src/win/Win32CommonDialog.cpp and src/win/WinMain.cpp.
namespace quelvar {

inline constexpr std::string_view kNewTitle = "New Templete";
inline constexpr std::string_view kOpenTitle = "Open Templete";
inline constexpr std::string_view kSaveTitle = "Save Templete";
inline constexpr std::string_view kTemplateFilter = "Quelvar(*.kvd)|*.kvd";

// Asked before New clears fields that have changed.
std::string NewQuestion();

// A field as the user knows it: its label's caption without the access key and the colon; the
// three "Default" labels are told apart by their element.
std::string FieldName(std::size_t field);

// Each message below holds a Japanese and an English part.
std::string OpenFailedMessage(const IniAccess::ProfileIoError& error);
std::string LoadWarningMessage(const LoadReport& report);
std::string SaveFailedMessage(const TemplateSaveError& error);
std::string UnwritableFieldsMessage(const UnwritableFieldsError& error);
// Asked on Open when a recovery copy of the template differs from it.
std::string RecoveryQuestion(const std::string& file, const std::string& copy);
// Told on Open when a recovery copy is there but cannot be compared with the template.
std::string RecoveryUncheckedMessage(const std::string& copy,
                                     const IniAccess::ProfileIoError& error);
// A failure of an unforeseen kind, with what little it tells.
std::string UnexpectedOpenFailureMessage(std::string_view detail);
std::string UnexpectedSaveFailureMessage(std::string_view detail);

}  // namespace quelvar

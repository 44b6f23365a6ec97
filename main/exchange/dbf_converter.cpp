#include "main/exchange/dbf_converter.h"

#include "common/file_io.h"
#include "common/utf8.h"
#include "main/document/data_file.h"
#include "main/document/status_scope.h"

namespace scorvane {

GradeTable ConvertedTable(const GradeTable& grid, const ConvertedTableInfo& info) {
    GradeTable table = grid;
    table.title = info.title;
    table.teacher = info.teacher;
    table.classInfo = info.classInfo;
    table.dataFormat = "###.##";
    table.filePath.clear();
    return table;
}

std::string DbfErrorText(DbfError error) {
    return std::string(kDbfErrorMessage) + "\n" + std::to_string(static_cast<int>(error));
}

ConverterSaveOutcome SaveConvertedData(const GradeTable& grid, std::string_view file,
                                       const ConvertedTableInfo& info, Prompter& prompter,
                                       StatusSink& status) {
    const std::string path = std::string(file) + std::string(kDataFileExtension);
    if (TrimSpaces(file).empty()) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return ConverterSaveOutcome::Failed;
    }
    if (FileExists(path) && prompter.ask(kOverwriteQuestion, "提示：", Buttons::YesNo, Icon::Question,
                                         Answer::Yes) != Answer::Yes) {
        return ConverterSaveOutcome::Declined;
    }
    bool written;
    {
        StatusScope busy(status, kStatusSaving);
        written = WriteDataFile(ConvertedTable(grid, info), std::string(file));
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return ConverterSaveOutcome::Failed;
    }
    return ConverterSaveOutcome::Saved;
}

bool DbfConverter::open(Prompter& prompter, StatusSink& status) {
    std::string path = prompter.openFile("*.dbf", kDbfOpenTitle);
    if (path.empty()) {
        return false;
    }
    return read(path, prompter, status);
}

bool DbfConverter::read(const std::string& path, Prompter& prompter, StatusSink& status) {
    DbfError error;
    {
        StatusScope busy(status, kStatusReading);
        GradeTable grid;
        error = ReadDbfFile(path, grid);
        if (error == DbfError::None) {
            grid_ = std::move(grid);
            path_ = path;
            canSave_ = true;
        }
    }
    if (error != DbfError::None) {
        prompter.message(DbfErrorText(error), "错误", Icon::Error);
        return false;
    }
    return true;
}

ConverterSaveOutcome DbfConverter::save(const ConvertedTableInfo& info, Prompter& prompter,
                                        StatusSink& status) {
    if (!canSave_) {
        return ConverterSaveOutcome::NothingRead;
    }
    std::string path = prompter.saveFile("*.skv");
    if (path.empty()) {
        return ConverterSaveOutcome::Cancelled;
    }
    // The chosen name without its extension.
    if (path.size() >= 4 && EqualsIgnoreCaseAscii(path.substr(path.size() - 4), kDataFileExtension)) {
        path.resize(path.size() - 4);
    }
    return SaveConvertedData(grid_, path, info, prompter, status);
}

}  // namespace scorvane

#include "main/exchange/dbf_converter.h"

#include "common/file_io.h"
#include "common/shared_write.h"
#include "common/text_codec.h"
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

std::string DbfNotesText(const DbfReadNotes& notes) {
    std::string text;
    auto line = [&text](const std::string& s) { text += (text.empty() ? "" : "\n") + s; };
    if (!notes.missingMemoFile.empty()) {
        line("找不到备注文件：" + notes.missingMemoFile + "，备注字段的内容留空。");
    }
    for (const DbfReadNotes::UnknownField& f : notes.unknownFields) {
        const char type = f.type > ' ' && f.type < 0x7F ? f.type : '?';
        line("字段“" + f.name + "”的类型（" + std::string(1, type) + "）无法转换，该字段的内容留空。");
    }
    return text;
}

size_t KeepGbkText(GradeTable& table) {
    size_t replaced = 0;
    for (int r = 0; r < table.rows(); ++r) {
        for (int c = 0; c < table.cols(); ++c) {
            const size_t before = replaced;
            std::string kept = KeepGbkCharacters(table.cell(r, c), replaced);
            if (replaced != before) {
                table.setCell(r, c, std::move(kept));
            }
        }
    }
    for (std::string* text : {&table.title, &table.teacher, &table.classInfo}) {
        *text = KeepGbkCharacters(*text, replaced);
    }
    return replaced;
}

std::string ReplacedCharactersText(size_t count) {
    return "文件已保存。其中有 " + std::to_string(count) + " 个字符无法用GBK编码保存，已替换为“?”。";
}

ConverterSaveOutcome SaveConvertedData(const GradeTable& grid, std::string_view file,
                                       const ConvertedTableInfo& info, Prompter& prompter,
                                       StatusSink& status) {
    const std::string path = std::string(file) + std::string(kDataFileExtension);
    if (TrimSpaces(file).empty()) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return ConverterSaveOutcome::Failed;
    }
    // The overwrite question, or, for a file another program has open, the question naming it.
    if (PrepareToWrite({.path = path, .mayReplace = [&prompter] { return ConfirmOverwrite(prompter); }},
                       prompter) != BeforeWriting::Write) {
        return ConverterSaveOutcome::Declined;
    }
    bool written;
    size_t replaced = 0;
    {
        StatusScope busy(status, kStatusSaving);
        GradeTable table = ConvertedTable(grid, info);
        replaced = KeepGbkText(table);
        written = WriteDataFile(table, std::string(file));
    }
    if (!written) {
        prompter.message(kSaveFailedMessage, "错误", Icon::Error);
        return ConverterSaveOutcome::Failed;
    }
    if (replaced > 0) {
        prompter.message(ReplacedCharactersText(replaced), "提示", Icon::Information);
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
    DbfReadNotes notes;
    {
        StatusScope busy(status, kStatusReading);
        GradeTable grid;
        error = ReadDbfFile(path, grid, &notes);
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
    if (!notes.empty()) {
        prompter.message(DbfNotesText(notes), "提示", Icon::Information);
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

#include "core/util/xlsxfile.h"

#include <dlfcn.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "core/util/error.h"
#include "core/util/files.h"
#include "core/util/format.h"
#include "core/util/ini.h"

namespace {

// The deflate level of the parts of the workbook being written by this thread; -1: the library's.
thread_local int zipLevel = -1;

} // namespace

// libxlsxwriter packs the workbook with minizip at zlib's default level and offers no setting.
// Its call is taken here first, by name, and passed on with the level asked for; the library and
// minizip stay as they are. Compressing a big sheet at the default level took about 40% of the
// whole export.
extern "C" int zipOpenNewFileInZip4_64(void* file, const char* filename, const void* info, const void* localExtra,
                                       unsigned localExtraSize, const void* globalExtra, unsigned globalExtraSize,
                                       const char* comment, int method, int level, int raw, int windowBits,
                                       int memLevel, int strategy, const char* password, unsigned long crc,
                                       unsigned long versionMadeBy, unsigned long flagBase, int zip64)
{
    using Open = int (*)(void*, const char*, const void*, const void*, unsigned, const void*, unsigned, const char*,
                         int, int, int, int, int, int, const char*, unsigned long, unsigned long, unsigned long, int);
    static const auto next = reinterpret_cast<Open>(dlsym(RTLD_NEXT, "zipOpenNewFileInZip4_64"));
    // minizip's ZIP_INTERNALERROR: the library then fails the workbook as it would on any error.
    if (!next) return -104;
    constexpr int Deflated = 8;
    if (zipLevel >= 0 && method == Deflated && level != 0) level = zipLevel;
    return next(file, filename, info, localExtra, localExtraSize, globalExtra, globalExtraSize, comment, method,
                level, raw, windowBits, memLevel, strategy, password, crc, versionMadeBy, flagBase, zip64);
}

namespace kv::util {

namespace {

constexpr const char* Section = "EXPORT";
constexpr lxw_row_t MaxSheetRows = 1048576;
constexpr double MaxColumnWidth = 60;

std::size_t charCount(std::string_view utf8)
{
    // Continuation bytes (10xxxxxx) do not start a character.
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char ch) { return (static_cast<unsigned char>(ch) & 0xC0) != 0x80; }));
}

// The formats of one workbook, made on first use: libxlsxwriter keeps every format until the
// workbook closes, so each combination is made once.
class Formats {
public:
    Formats(lxw_workbook* book, int fontSize) : m_book(book), m_fontSize(fontSize) {}

    lxw_format* cell(const std::string& numFormat, const std::optional<uint32_t>& fill)
    {
        const int64_t fillKey = fill ? static_cast<int64_t>(*fill) : -1;
        // Neighbouring cells mostly share a format: the last one answers without a map lookup.
        if (m_last && m_lastFill == fillKey && m_lastNumFormat == numFormat) return m_last;
        auto key = std::make_pair(numFormat, fillKey);
        auto it = m_cells.find(key);
        if (it == m_cells.end()) it = m_cells.emplace(std::move(key), make(numFormat, fill)).first;
        m_last = it->second;
        m_lastFill = fillKey;
        m_lastNumFormat = numFormat;
        return m_last;
    }
    lxw_format* make(const std::string& numFormat, const std::optional<uint32_t>& fill)
    {
        lxw_format* f = base();
        if (!numFormat.empty()) format_set_num_format(f, numFormat.c_str());
        if (fill) {
            format_set_pattern(f, LXW_PATTERN_SOLID);
            format_set_bg_color(f, static_cast<lxw_color_t>(*fill));
        }
        return f;
    }
    lxw_format* bold(int sizeIncrease)
    {
        lxw_format* f = base();
        format_set_bold(f);
        format_set_font_size(f, m_fontSize + sizeIncrease);
        return f;
    }
    lxw_format* base()
    {
        lxw_format* f = workbook_add_format(m_book);
        format_set_font_size(f, m_fontSize);
        return f;
    }

private:
    lxw_workbook* m_book;
    int m_fontSize;
    std::map<std::pair<std::string, int64_t>, lxw_format*> m_cells;
    lxw_format* m_last = nullptr;
    int64_t m_lastFill = -1;
    std::string m_lastNumFormat;
};

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& reason)
{
    throw Error(Format("Не удалось записать файл \"%s\": %s", {path.string(), reason}));
}

} // namespace

TExportOptions LoadExportOptions(const std::filesystem::path& path)
{
    TExportOptions defaults, o;
    IniFile ini;
    try {
        ini = IniFile::Load(path);
    } catch (const Error&) {
        return defaults;
    }
    o.Title = ini.ReadString(Section, "Title", defaults.Title);
    o.Note = ini.ReadString(Section, "Note", defaults.Note);
    o.SheetName = ini.ReadString(Section, "SheetName", defaults.SheetName);
    o.Landscape = ini.ReadBool(Section, "Landscape", defaults.Landscape);
    const int64_t size = ini.ReadInteger(Section, "FontSize", defaults.FontSize);
    o.FontSize = size >= MinExportFontSize && size <= MaxExportFontSize ? static_cast<int>(size) : defaults.FontSize;
    o.OpenAfter = ini.ReadBool(Section, "OpenAfter", defaults.OpenAfter);
    o.Folder = ini.ReadString(Section, "Folder", defaults.Folder);
    return o;
}

void SaveExportOptions(const std::filesystem::path& path, const TExportOptions& options)
{
    // Written whole: a damaged file is replaced, not patched.
    IniFile ini;
    ini.WriteString(Section, "Title", options.Title);
    ini.WriteString(Section, "Note", options.Note);
    ini.WriteString(Section, "SheetName", options.SheetName);
    ini.WriteBool(Section, "Landscape", options.Landscape);
    ini.WriteInteger(Section, "FontSize", options.FontSize);
    ini.WriteBool(Section, "OpenAfter", options.OpenAfter);
    ini.WriteString(Section, "Folder", options.Folder);
    ini.Save(path);
}

void WriteXlsx(const std::filesystem::path& path, const TExportSheet& sheet, const TExportOptions& options,
               const TExportProgress& progress)
{
    const std::string title = options.Title.empty() ? sheet.Title : options.Title;
    const lxw_row_t headerRow = options.Note.empty() ? 2 : 3;
    const auto columns = static_cast<lxw_col_t>(sheet.Captions.size());
    if (sheet.RowCount < 0 || headerRow + 1 + static_cast<lxw_row_t>(sheet.RowCount) > MaxSheetRows)
        fail(path, Format("в листе не более %d строк", {static_cast<int>(MaxSheetRows)}));

    const std::filesystem::path temp = path.string() + ".tmp~";
    std::error_code ec;
    std::filesystem::remove(temp, ec);
    lxw_workbook_options bookOptions{};
    bookOptions.constant_memory = LXW_TRUE;
    const std::string tempName = temp.string();
    lxw_workbook* book = workbook_new_opt(tempName.c_str(), &bookOptions);
    if (!book) fail(path, "недостаточно памяти");
    // Whatever happens below, the workbook is closed once and the temporary name never stays.
    struct Closer {
        lxw_workbook* book;
        std::filesystem::path temp;
        ~Closer()
        {
            if (book) workbook_close(book);
            std::error_code e;
            std::filesystem::remove(temp, e);
        }
    } closer{book, temp};

    const std::string sheetName = SafeSheetName(options.SheetName.empty() ? title : options.SheetName);
    lxw_worksheet* ws = workbook_add_worksheet(book, sheetName.c_str());
    if (!ws) fail(path, "недопустимое имя листа \"" + sheetName + "\"");
    const int fontSize = options.FontSize >= MinExportFontSize && options.FontSize <= MaxExportFontSize
                             ? options.FontSize
                             : TExportOptions{}.FontSize;
    Formats formats(book, fontSize);
    if (options.Landscape) worksheet_set_landscape(ws);
    else worksheet_set_portrait(ws);

    // Rows must be written top to bottom: the sheet streams to disk.
    worksheet_write_string(ws, 0, 0, title.c_str(), formats.bold(4));
    if (!options.Note.empty()) worksheet_write_string(ws, 1, 0, options.Note.c_str(), formats.base());
    lxw_format* captionFormat = formats.bold(0);
    std::vector<std::size_t> widths(columns, 0);
    for (lxw_col_t c = 0; c < columns; ++c) {
        worksheet_write_string(ws, headerRow, c, sheet.Captions[c].c_str(), captionFormat);
        widths[c] = charCount(sheet.Captions[c]) + 3;   // room for the filter button
    }
    std::vector<TSheetCell> cells(columns);
    const auto goOn = [&](int written) {
        if (progress && !progress(written, sheet.RowCount)) throw Cancelled(Format("экспорт в файл \"%s\" отменен", {path.string()}));
    };
    constexpr int ProgressRows = 4096;
    for (int r = 0; r < sheet.RowCount; ++r) {
        if (r % ProgressRows == 0) goOn(r);
        for (TSheetCell& cell : cells) cell = TSheetCell{};
        if (sheet.Row) sheet.Row(r, cells);
        const lxw_row_t row = headerRow + 1 + static_cast<lxw_row_t>(r);
        for (lxw_col_t c = 0; c < columns; ++c) {
            const TSheetCell& cell = cells[c];
            widths[c] = std::max(widths[c], charCount(cell.Text));
            const std::optional<TShownNumber> number = cell.Numeric ? ParseShownNumber(cell.Text)
                                                       : cell.Date  ? ParseShownDate(cell.Text)
                                                                    : std::nullopt;
            if (number) {
                worksheet_write_number(ws, row, c, number->Value, formats.cell(number->NumFormat, cell.Fill));
            } else if (!cell.Text.empty()) {
                worksheet_write_string(ws, row, c, cell.Text.c_str(), formats.cell({}, cell.Fill));
            } else if (cell.Fill) {
                worksheet_write_blank(ws, row, c, formats.cell({}, cell.Fill));
            }
        }
    }
    const double scale = fontSize / 11.0;
    for (lxw_col_t c = 0; c < columns; ++c)
        worksheet_set_column(ws, c, c, std::min(MaxColumnWidth, (static_cast<double>(widths[c]) + 1) * scale), nullptr);
    if (columns > 0) {
        worksheet_freeze_panes(ws, headerRow + 1, 0);
        worksheet_autofilter(ws, headerRow, 0, headerRow + static_cast<lxw_row_t>(sheet.RowCount), columns - 1);
    }

    goOn(sheet.RowCount);
    // A big sheet is packed at the fastest level: a larger file, written in much less time.
    struct Level {
        explicit Level(int level) { zipLevel = level; }
        ~Level() { zipLevel = -1; }
    } level(sheet.RowCount >= FastPackRows ? 1 : -1);
    errno = 0;
    const lxw_error closed = workbook_close(book);
    const int err = errno;
    closer.book = nullptr;
    if (closed != LXW_NO_ERROR) fail(path, err != 0 ? ErrnoText(err) : lxw_strerror(closed));
    std::filesystem::rename(temp, path, ec);
    if (ec) fail(path, ErrnoText(ec.value()));
}

} // namespace kv::util

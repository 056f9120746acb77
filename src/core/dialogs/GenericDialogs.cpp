#include "dialogs/GenericDialogs.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "common/NumberFormat.h"

namespace vexamo {

namespace {

DialogCheck acceptedCheck() {
    DialogCheck check;
    check.accepted = true;
    return check;
}

DialogCheck silentCheck() {
    DialogCheck check;
    check.silent = true;
    return check;
}

DialogCheck refusal(MessageKind kind, std::string message, std::string focus = {}) {
    DialogCheck check;
    check.kind = kind;
    check.message = std::move(message);
    check.focus = std::move(focus);
    return check;
}

const char* allFieldsMessage(LanguageFlagType languageFlag) {
    return tr(languageFlag, "All fields of this form should be filled",
              "Все поля этой формы должны быть заполнены");
}

// The grid keeps 16-bit integers: a larger number is not a number of an
// integer column.
std::optional<long long> parseGridInteger(std::string_view text) {
    const auto value = parseInteger(text);
    if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
        *value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return value;
}

}  // namespace

std::string trimText(std::string_view text) {
    // Spaces and control characters at both ends, as the edits' numbers are read.
    std::size_t first = 0;
    std::size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ') ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ') --last;
    return std::string(text.substr(first, last - first));
}

std::string numberEntryPrefix(LanguageFlagType languageFlag) {
    return tr(languageFlag, "Error of number entry ", "Ошибка при вводе числа ");
}

DialogCheck checkInput(const InputRequest& request, const std::string& text, InputAnswer& answer) {
    if (text.empty()) return silentCheck();
    if (text == "Default") {
        answer.cancelled = false;
        answer.isDefault = true;
        answer.text = text;
        return acceptedCheck();
    }
    const std::string number = trimText(text);
    if (request.kind == InputKind::Integer) {
        if (const auto value = parseInteger(number)) {
            answer.integer = *value;
        } else {
            return refusal(MessageKind::Warning, request.errorPrefix + text, "edInput");
        }
    } else {
        if (const auto value = parseReal(number)) {
            answer.real = *value;
        } else {
            return refusal(MessageKind::Warning, request.errorPrefix + text, "edInput");
        }
    }
    answer.cancelled = false;
    answer.isDefault = false;
    answer.text = text;
    return acceptedCheck();
}

std::optional<std::string> checkGridCell(const std::string& text, LanguageFlagType languageFlag) {
    if (text.empty() || parseReal(trimText(text))) return std::nullopt;
    return tr(languageFlag, "Wrong symbol at input of number ",
              "Неправильный символ при вводе числа ") +
           text;
}

DialogCheck readGrid(const GridRequest& request, const std::vector<std::vector<std::string>>& cells,
                     LanguageFlagType languageFlag, GridAnswer& answer) {
    const auto columns = static_cast<std::size_t>(std::max(request.columns, 0));
    const auto rows = static_cast<std::size_t>(std::max(request.rows, 0));
    // Values read by an earlier OK stay where this one does not reach.
    answer.reals.resize(columns);
    answer.integers.resize(columns);
    for (std::size_t c = 0; c < columns; ++c) {
        answer.reals[c].resize(rows, 0);
        answer.integers[c].resize(rows, 0);
    }

    for (int c = std::max(request.fixedColumns, 0); c < request.columns; ++c) {
        const auto column = static_cast<std::size_t>(c);
        const bool integerColumn =
            column < request.integerColumns.size() && request.integerColumns[column];
        for (int r = std::max(request.fixedRows, 0); r < request.rows; ++r) {
            const auto row = static_cast<std::size_t>(r);
            const std::string text =
                column < cells.size() && row < cells[column].size() ? cells[column][row] : "";
            if (text.empty()) return silentCheck();
            const std::string number = trimText(text);
            bool read = false;
            if (integerColumn) {
                if (const auto value = parseGridInteger(number)) {
                    answer.integers[column][row] = *value;
                    read = true;
                }
            } else if (const auto value = parseReal(number)) {
                if (request.nonNegative && *value < 0) {
                    DialogCheck check = refusal(MessageKind::Error,
                                                tr(languageFlag, "The value must not be negative: ",
                                                   "Значение не должно быть отрицательным: ") +
                                                    text,
                                                "sgInput");
                    check.column = c;
                    check.row = r;
                    return check;
                }
                answer.reals[column][row] = *value;
                read = true;
            }
            if (!read) {
                DialogCheck check =
                    refusal(MessageKind::Error, numberEntryPrefix(languageFlag) + text, "sgInput");
                check.column = c;
                check.row = r;
                return check;
            }
        }
    }
    answer.cancelled = false;
    return acceptedCheck();
}

GridLayout gridLayout(const GridRequest& request, int rowHeight, int columnWidth,
                      int firstColumnWidth) {
    const int rows = request.rows;
    const int columns = request.columns;
    const int h = rowHeight;
    const int w = columnWidth;
    GridLayout layout;
    const int visibleRows = rows > 5 ? 5 : rows;
    layout.gridHeight = rows > 5 ? 5 * h + 5 : rows * (h + 1);
    layout.windowHeight = request.baseHeight + (visibleRows - request.fixedRows - 1) * h;
    if (columns > 4) {
        layout.gridWidth = firstColumnWidth + 3 * w + 4;
        // room for the horizontal scroll bar
        layout.gridHeight = rows > 5 ? 6 * h + 6 : (rows + 1) * (h + 1);
    } else {
        layout.gridWidth = firstColumnWidth + (columns - 1) * (w + 1) + 1;
    }
    layout.verticalScrollBar = rows >= 6;
    layout.horizontalScrollBar = columns >= 5;
    return layout;
}

DialogCheck checkMethodChoice(const MethodRequest& request, int selectedIndex) {
    if (selectedIndex >= 0 && selectedIndex <= 3) return acceptedCheck();
    return refusal(MessageKind::Warning, request.warning);
}

DialogCheck checkCheckList(const std::vector<bool>& checked, LanguageFlagType languageFlag) {
    for (const bool mark : checked)
        if (mark) return acceptedCheck();
    return refusal(MessageKind::Warning, tr(languageFlag, "Choose even one component of a mix",
                                            "Выберите хотя-бы один компонент смеси"));
}

GapCalcTexts gapCalcTexts(LanguageFlagType languageFlag) {
    GapCalcTexts t;
    if (languageFlag == kEnglish) {
        t.caption = "Input of the additional data";
        t.comment =
            "Set the additional data for calculation\r\nof pressure losses in outside of tubes";
        t.pitchLabel = "step of pipe column, m: ";
        t.gapLabel = "gap between the casing and the baffle, mm:";
        t.holesCaption = "             holes in a baffle board";
        t.sealLabel = "number of obturating flat bars for\r\nreduction of the by-pass streams";
        t.inletLabel = "Possible distance from inlet\r\njet up to the partition, mm";
        t.outletLabel = "Possible distance from output\r\njet up to the partition, mm";
        t.headTypes = {"Pressure 2 MPa;", "Movable floating head, pressure 1 MPa;",
                       "Shared floating head and split ring;",
                       "U-shaped pipes and the fixed tubal board;"};
        t.gapSizes = {"diminished", "enlarged"};
        t.holes = {"stamped", "drilling"};
    } else {
        t.caption = "Ввод дополнительных данных";
        t.comment =
            "Введите дополнительные данные для расчета\r\nпотерь давления в межтрубном "
            "пространстве";
        t.pitchLabel = "шаг пучка труб, м:";
        t.gapLabel = "зазор между кожухом и перегородкой, мм:";
        t.holesCaption = " отверстия в поперечной перегородке";
        t.sealLabel = "число уплотняющих полос для\r\nуменьшения байпасных потоков";
        t.inletLabel = "возможное расстояние от входно-\r\nго патрубка до перегородки, мм";
        t.outletLabel = "возможное расстояние от выходно-\r\nго патрубка до перегородки, мм";
        t.headTypes = {"Давление 2 МПа;", "Подвижная плавающая головка, давление 1 МПа;",
                       "Уплотненная плавающая головка и разъемное кольцо;",
                       "U-образные трубы и фиксированная трубная доска;"};
        t.gapSizes = {"уменьшенный", "увеличенный"};
        t.holes = {"штампованные", "сверленые"};
    }
    return t;
}

bool sealingStripsEnabled(int headType) { return headType != 4; }

DialogCheck checkGapCalc(const GapCalcRequest& request, const GapCalcAnswer& answer,
                         LanguageFlagType languageFlag, GapCalcResult& result) {
    const Real d = request.tubeDiameter;
    const Real spacing = request.baffleSpacing;
    const std::string incorrect =
        tr(languageFlag, "incorrect input of number  ", "неверный ввод числа  ");

    // A typed value of an edit; "Default" (exactly) leaves `value` as given.
    // The typed pitch and distances divide later and must be positive; the
    // gap cannot be negative.
    enum class Bound { Positive, NonNegative };
    auto readEdit = [&](const std::string& text, const char* focus, Bound bound,
                        Real& value) -> std::optional<DialogCheck> {
        if (text == "Default") return std::nullopt;
        const auto number = parseReal(trimText(text));
        if (!number) return refusal(MessageKind::Warning, incorrect + text, focus);
        if (bound == Bound::Positive && !(*number > 0))
            return refusal(MessageKind::Warning,
                           tr(languageFlag, "The value must be greater than zero: ",
                              "Значение должно быть больше нуля: ") +
                               text,
                           focus);
        if (bound == Bound::NonNegative && *number < 0)
            return refusal(MessageKind::Warning,
                           tr(languageFlag, "The value must not be negative: ",
                              "Значение не должно быть отрицательным: ") +
                               text,
                           focus);
        value = *number;
        return std::nullopt;
    };

    GapCalcResult r;
    if (answer.headType < 1 || answer.headType > 4)
        return refusal(MessageKind::Warning, allFieldsMessage(languageFlag), "cbAddDate");
    r.headType = answer.headType;

    r.pitch = 1.4L * d;
    if (auto failed = readEdit(answer.pitch, "edStepTube", Bound::Positive, r.pitch))
        return *failed;

    r.casingGap = 0.004L * d + (answer.gapEnlarged ? 3.1L : 1.6L);
    if (auto failed = readEdit(answer.gap, "edGap", Bound::NonNegative, r.casingGap))
        return *failed;

    // Diametral clearance between a tube and its baffle hole, mm. Stamped
    // holes: from the tube diameter in mm (the two branches meet near 8 mm);
    // drilled holes: by the unsupported span.
    if (answer.holesDrilled) {
        r.holeClearance = spacing < 0.9L ? 0.8L : 0.4L;
    } else {
        // A typed 0.008 m is a little below 8 mm in binary: it belongs to the
        // upper branch.
        const Real d_mm = d * 1000;
        r.holeClearance = d_mm < 8 - 1e-9L ? 0.13L : 0.023L * d_mm - 0.045L;
    }

    if (sealingStripsEnabled(r.headType)) {
        if (answer.sealingStrips.empty())
            return refusal(MessageKind::Warning, allFieldsMessage(languageFlag), "ComboBox1");
        const auto strips = parseInteger(trimText(answer.sealingStrips));
        if (!strips || *strips < 0 || *strips > std::numeric_limits<int>::max())
            return refusal(MessageKind::Warning, incorrect + answer.sealingStrips, "ComboBox1");
        r.sealingStrips = static_cast<int>(*strips);
    } else {
        r.sealingStrips = 0;
    }

    r.inletDistance = spacing * 1000;
    if (auto failed = readEdit(answer.inletDistance, "edLbi", Bound::Positive, r.inletDistance))
        return *failed;
    r.outletDistance = spacing * 1000;
    if (auto failed = readEdit(answer.outletDistance, "edLbo", Bound::Positive, r.outletDistance))
        return *failed;

    result = r;
    return acceptedCheck();
}

}  // namespace vexamo

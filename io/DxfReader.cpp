// The DXF reader's entry points: file checks, recognising what kind of file this is, units, and the
// final verdict. Gathering the entities is in DxfReader_Collect.cpp, placing them in DxfReader_Expand.cpp,
// curves in DxfReader_Curves.cpp.
#include "io/DxfReader.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <sstream>

#include <boost/make_shared.hpp>

#include "io/detail/DxfModel.h"

namespace Norvane {

namespace {

struct UnitInfo {
    DxfReader::Unit unit;
    double mm;
    const char* name;
    std::vector<const char*> aliases;
};

const std::vector<UnitInfo>& UnitTable() {
    using U = DxfReader::Unit;
    static const std::vector<UnitInfo> table = {
        {U::Unitless, 0.0, "unitless", {"none"}},
        {U::Inch, 25.4, "in", {"inch", "inches"}},
        {U::Foot, 304.8, "ft", {"foot", "feet"}},
        {U::Mile, 1609344.0, "mi", {"mile", "miles"}},
        {U::Millimetre, 1.0, "mm", {"millimetre", "millimeter", "millimetres", "millimeters"}},
        {U::Centimetre, 10.0, "cm", {"centimetre", "centimeter", "centimetres", "centimeters"}},
        {U::Metre, 1000.0, "m", {"metre", "meter", "metres", "meters"}},
        {U::Kilometre, 1e6, "km", {"kilometre", "kilometer", "kilometres", "kilometers"}},
        {U::Microinch, 25.4e-6, "uin", {"microinch", "microinches"}},
        {U::Mil, 0.0254, "mil", {"mils", "thou"}},
        {U::Yard, 914.4, "yd", {"yard", "yards"}},
        {U::Angstrom, 1e-7, "angstrom", {"angstroms"}},
        {U::Nanometre, 1e-6, "nm", {"nanometre", "nanometer", "nanometres", "nanometers"}},
        {U::Micron, 1e-3, "um", {"micron", "microns", "micrometre", "micrometer"}},
        {U::Decimetre, 100.0, "dm", {"decimetre", "decimeter", "decimetres", "decimeters"}},
        {U::Decametre, 1e4, "dam", {"decametre", "decameter", "decametres", "decameters"}},
        {U::Hectometre, 1e5, "hm", {"hectometre", "hectometer", "hectometres", "hectometers"}},
    };
    return table;
}

std::string Trim(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) {
        return std::string();
    }
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

// An ASCII DXF file is pairs of lines, a group code (an integer) and a value; it opens with a SECTION
// (possibly after 999 comments). Only the head is checked: the parser takes care of the rest.
bool LooksLikeAsciiDxf(const std::string& text) {
    constexpr int kPairsToCheck = 64;
    std::istringstream in(text);
    std::string codeLine;
    std::string valueLine;
    for (int pair = 0; pair < kPairsToCheck; ++pair) {
        if (!std::getline(in, codeLine) || !std::getline(in, valueLine)) {
            return false;
        }
        const std::string code = Trim(codeLine);
        if (code.empty() || code.size() > 6 ||
            !std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c) != 0; })) {
            return false;
        }
        if (code == "0") {
            return Trim(valueLine) == "SECTION";
        }
        if (code != "999") {
            return false;
        }
    }
    return false;
}

std::string Summary(const std::map<std::string, int>& counts) {
    std::string out;
    for (const auto& [type, count] : counts) {
        out += (out.empty() ? "" : ", ") + type + " " + std::to_string(count);
    }
    return out;
}

}  // namespace

double DxfReader::UnitToMillimetre(Unit unit) {
    for (const UnitInfo& info : UnitTable()) {
        if (info.unit == unit) {
            return info.mm;
        }
    }
    return 0.0;
}

std::string DxfReader::UnitName(Unit unit) {
    for (const UnitInfo& info : UnitTable()) {
        if (info.unit == unit) {
            return info.name;
        }
    }
    return "unknown";
}

std::optional<DxfReader::Unit> DxfReader::ParseUnit(const std::string& name) {
    std::string key = Trim(name);
    std::transform(key.begin(), key.end(), key.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    for (const UnitInfo& info : UnitTable()) {
        if (key == info.name ||
            std::find(info.aliases.begin(), info.aliases.end(), key) != info.aliases.end()) {
            return info.unit;
        }
    }
    return std::nullopt;
}

std::string DxfReader::Describe(const std::string& type, const std::string& handle, long line) {
    if (handle.empty()) {
        return type + " at line " + std::to_string(line);
    }
    return type + " (handle " + handle + ", line " + std::to_string(line) + ")";
}

DxfReader::Result DxfReader::Read(const std::string& path, const Options& options) {
    auto fail = [](ErrorKind kind, const std::string& message) {
        Result result;
        result.patterns = boost::make_shared<PatternList>();
        result.error = kind;
        result.message = message;
        return result;
    };
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        return fail(ErrorKind::MissingFile,
                    std::filesystem::exists(path, ec) ? "not a regular file" : "no such file");
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        return fail(ErrorKind::MissingFile, std::string("cannot be opened (") + std::strerror(errno) + ")");
    }
    std::string content;
    char buffer[1 << 16];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        content.append(buffer, n);
    }
    const int readError = std::ferror(file) ? errno : 0;
    std::fclose(file);
    if (readError != 0) {
        return fail(ErrorKind::ReadFailed, std::string("reading failed (") + std::strerror(readError) + ")");
    }
    return ReadText(content, options);
}

DxfReader::Result DxfReader::ReadText(const std::string& input, const Options& options) {
    Result result;
    result.patterns = boost::make_shared<PatternList>();
    auto fail = [&result](ErrorKind kind, const std::string& message) {
        result.error = kind;
        result.message = message;
        result.patterns->clear();
        return result;
    };
    auto report = [&options](const char* stage, double fraction) {
        if (options.progress) {
            options.progress(stage, std::clamp(fraction, 0.0, 1.0));
        }
    };

    // The binary form starts with this sentinel; dxflib would read it as an empty drawing.
    static const std::string kBinarySentinel = "AutoCAD Binary DXF";
    if (input.compare(0, kBinarySentinel.size(), kBinarySentinel) == 0) {
        return fail(ErrorKind::BinaryDxf, "binary DXF is not supported; save the drawing as ASCII DXF");
    }
    static const std::string kUtf8Bom = "\xEF\xBB\xBF";
    const std::string text = input.compare(0, kUtf8Bom.size(), kUtf8Bom) == 0 ? input.substr(3) : input;
    if (Trim(text).empty()) {
        return fail(ErrorKind::NotDxf, "the file is empty");
    }
    if (!LooksLikeAsciiDxf(text)) {
        return fail(ErrorKind::NotDxf, "not a DXF file (it does not start with a DXF section)");
    }

    // Parsing is about two thirds of the reading, placing the entities the rest.
    constexpr double kParseShare = 0.65;
    dxf_detail::Drawing drawing;
    std::string parserMessage;
    if (!dxf_detail::CollectDrawing(text, drawing, parserMessage,
                                    [&report](double f) { report("reading entities", kParseShare * f); })) {
        return fail(ErrorKind::NotDxf, parserMessage);
    }
    if (!drawing.sawSection) {
        return fail(ErrorKind::NotDxf, "not a DXF file (no section found)");
    }
    // Damage and truncation: the first found in file order fails the read, unless salvaging.
    std::string damage;
    if (drawing.damagedAtLine > 0) {
        damage = "the file is damaged at line " + std::to_string(drawing.damagedAtLine) + ": '" +
                 drawing.damagedText + "' is not a group code" +
                 (drawing.damagedPlaces > 1
                      ? " (and " + std::to_string(drawing.damagedPlaces - 1) + " more places)"
                      : std::string());
    }
    std::string truncation;
    if (!drawing.sawEof) {
        truncation = "the file ends " +
                     (!drawing.endSection.empty()   ? "inside " + drawing.endSection
                      : drawing.lastSection.empty() ? std::string("before any section")
                                                    : "after the " + drawing.lastSection + " section") +
                     " at line " + std::to_string(drawing.lineCount) + ": no EOF";
    }
    if (!options.salvage) {
        if (!damage.empty()) {
            return fail(ErrorKind::Damaged, damage + "; --salvage imports what can be read");
        }
        if (!truncation.empty()) {
            return fail(ErrorKind::Truncated, truncation + "; --salvage imports what was read");
        }
    } else {
        std::string cut;
        if (!drawing.cutRecord.empty()) {
            cut = "; the " + drawing.cutRecord + " at line " + std::to_string(drawing.cutRecordLine) +
                  ", cut off by the end of the file, was left out";
        }
        result.salvaged = damage.empty() ? std::string() : damage + "; the damaged records were left out";
        if (!truncation.empty()) {
            result.salvaged += (result.salvaged.empty() ? "" : "; ") + truncation + cut;
        }
    }

    // Units: an override wins; else the file's $INSUNITS when it names a known length; else millimetres.
    if (options.unitOverride) {
        result.unit = *options.unitOverride;
        result.unitSource = UnitSource::Override;
    } else if (drawing.insUnits && *drawing.insUnits > 0 &&
               UnitToMillimetre(static_cast<Unit>(*drawing.insUnits)) > 0.0) {
        result.unit = static_cast<Unit>(*drawing.insUnits);
        result.unitSource = UnitSource::File;
    } else {
        result.unit = Unit::Millimetre;
        result.unitSource = UnitSource::Assumed;
        result.warnings.push_back(!drawing.insUnits || *drawing.insUnits == 0
                                      ? "the drawing states no unit ($INSUNITS); millimetres assumed"
                                      : "unknown drawing unit code " + std::to_string(*drawing.insUnits) +
                                            "; millimetres assumed");
    }
    result.scaleToMm = UnitToMillimetre(result.unit);
    if (!(result.scaleToMm > 0.0)) {
        result.scaleToMm = 1.0;  // an override of "unitless" reads the numbers as they are
    }
    if (drawing.decimalCommaValues > 0) {
        result.warnings.push_back(std::to_string(drawing.decimalCommaValues) +
                                  " numbers were written with a decimal comma and read as decimals");
    }
    if (drawing.tiltedExtrusions > 0) {
        result.warnings.push_back(std::to_string(drawing.tiltedExtrusions) +
                                  " entities lie in a plane tilted against XY and were projected onto it");
    }

    DxfReader::Options placeOptions = options;
    placeOptions.progress = [&report](const std::string&, double f) {
        report("placing entities", kParseShare + (1.0 - kParseShare) * f);
    };
    if (!dxf_detail::ExpandDrawing(drawing, placeOptions, result.scaleToMm, result)) {
        return result;
    }
    report("placing entities", 1.0);
    if (result.patterns->empty()) {
        // Why there is nothing: the refused entities first, as they are what the user will want to fix.
        std::string message = "no geometry to import: ";
        if (!result.refused.empty()) {
            const Refusal& first = result.refused.front();
            message += Describe(first.type, first.handle, first.line) + " refused: " + first.reason;
            if (result.refused.size() > 1) {
                message += " (and " + std::to_string(result.refused.size() - 1) + " more refused)";
            }
        } else {
            message +=
                "the drawing has no lines, arcs, circles, polylines, ellipses or splines in model space";
        }
        std::map<std::string, int> others = result.skipCount;  // skipped without being refused
        for (const Refusal& r : result.refused) {
            if ((others[r.type] -= r.count) <= 0) {
                others.erase(r.type);
            }
        }
        if (!others.empty()) {
            message += " (skipped: " + Summary(others) + ")";
        }
        fail(ErrorKind::EmptyDrawing, message);
        return result;
    }
    return result;
}

}  // namespace Norvane

// geomfeature: the Python face of the module. Reads DXF drawings, runs the import sequence, opens and
// saves part files, lists patterns and loops, recognises shapes and arrays, offsets loops and draws parts.
#include <pybind11/functional.h>
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>
#include <pybind11/stl/filesystem.h>

#include "apps/core/CliError.h"
#include "apps/core/Commands.h"
#include "apps/core/PartSummary.h"
#include "geomFeature/Version.h"
#include "geomFeature/processor/ImportPipeline.h"
#include "python/PyPart.h"
#include "python/PySnapshot.h"

namespace py = pybind11;
using namespace Norvane;

namespace {

// The module's exception classes. Each program failure keeps the program's message and exit code
// (exit_code) and also derives from the standard Python exception a script would expect.
struct Exceptions {
    py::object error, missing, badData, usage, output, cancelled, offset, busy;
};

py::object NewException(py::module_& m, const char* name, py::tuple bases, const char* doc) {
    const std::string qualified = std::string("geomfeature.") + name;
    py::object type = py::reinterpret_steal<py::object>(
        PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr));
    if (!type)
        throw py::error_already_set();
    m.attr(name) = type;
    return type;
}

Exceptions& TheExceptions() {
    static Exceptions* exceptions = new Exceptions();  // lives as long as the interpreter
    return *exceptions;
}

void Raise(const py::object& type, std::string message, int exitCode) {
    // The program's messages name its options; a script passes keywords instead.
    const std::string option = "--force";
    if (const std::size_t at = message.find(option); at != std::string::npos)
        message.replace(at, option.size(), "overwrite=True");
    py::object instance = type(message);
    instance.attr("exit_code") = exitCode;
    PyErr_SetObject(type.ptr(), instance.ptr());
}

void RegisterExceptions(py::module_& m) {
    Exceptions& e = TheExceptions();
    const py::object base = py::reinterpret_borrow<py::object>(PyExc_Exception);
    e.error = NewException(m, "Error", py::make_tuple(base), "Base of every geomfeature error.");
    e.missing =
        NewException(m, "MissingInputError",
                     py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_FileNotFoundError)),
                     "The input file does not exist or cannot be read (the program's exit code 66).");
    e.badData = NewException(m, "BadDataError",
                             py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_ValueError)),
                             "The input is not what it should be: not a DXF, a binary DXF, an empty drawing, "
                             "not a part database (exit code 65).");
    e.usage = NewException(m, "UsageError",
                           py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_ValueError)),
                           "A bad argument (exit code 64).");
    e.output = NewException(m, "OutputError",
                            py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_OSError)),
                            "The output cannot be created or written (exit codes 73 and 74).");
    e.cancelled = NewException(m, "CancelledError", py::make_tuple(e.error),
                               "The progress callback asked to stop; nothing was written.");
    e.offset = NewException(
        m, "OffsetError", py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_ValueError)),
        "A loop could not be offset; reason names why ('vanishes', 'splits-apart', ...).");
    e.busy = NewException(m, "BusyError",
                          py::make_tuple(e.error, py::reinterpret_borrow<py::object>(PyExc_RuntimeError)),
                          "The part was used from its own progress callback.");
    py::register_exception_translator([](std::exception_ptr p) {
        if (!p)
            return;
        const Exceptions& ex = TheExceptions();
        try {
            std::rethrow_exception(p);
        } catch (const CliError& err) {
            switch (err.Code()) {
                case kExitNoInput:
                    Raise(ex.missing, err.what(), err.Code());
                    break;
                case kExitBadData:
                    Raise(ex.badData, err.what(), err.Code());
                    break;
                case kExitUsage:
                    Raise(ex.usage, err.what(), err.Code());
                    break;
                default:
                    Raise(ex.output, err.what(), err.Code());
                    break;
            }
        } catch (const CancelledError& err) {
            Raise(ex.cancelled, err.what(), 0);
        } catch (const OffsetError& err) {
            py::object instance = ex.offset(err.what());
            instance.attr("reason") = err.Reason();
            PyErr_SetObject(ex.offset.ptr(), instance.ptr());
        } catch (const BusyError& err) {
            Raise(ex.busy, err.what(), 0);
        }
    });
}

std::string Repr(const LoopInfo& l) {
    return "Loop(#" + std::to_string(l.index) + " " + l.shape + (l.closed ? "" : " open") +
           (l.role.empty() ? "" : " " + l.role) + ", " + std::to_string(l.pieces.size()) +
           (l.pieces.size() == 1 ? " piece)" : " pieces)");
}

}  // namespace

PYBIND11_MODULE(geomfeature, m) {
    m.doc() =
        "Flat sheet-metal parts: read DXF drawings, clean them up, recognise standard holes and arrays, "
        "save and open part files, offset contours and draw parts.";
    m.attr("__version__") = kGeomFeatureVersion;
    RegisterExceptions(m);

    py::class_<ImportOptions>(m, "ImportOptions", "Tolerances (mm) and switches of the import sequence.")
        .def(py::init([](double joinTol, double mergeTol, double tinySize, bool merge, bool removeTiny,
                         bool moveToOrigin, bool orient, bool recognise, bool nest, bool optimize,
                         double optimizeTol, bool removeDuplicates, bool arrays) {
                 ImportOptions o;
                 o.joinTol = joinTol;
                 o.mergeTol = mergeTol;
                 o.tinySize = tinySize;
                 o.merge = merge;
                 o.removeTiny = removeTiny;
                 o.moveToOrigin = moveToOrigin;
                 o.orient = orient;
                 o.recognise = recognise;
                 o.nest = nest;
                 o.optimize = optimize;
                 o.optimizeTol = optimizeTol;
                 o.removeDuplicates = removeDuplicates;
                 o.arrays = arrays;
                 return o;
             }),
             // The defaults are the program's: duplicate loops removed and arrays recognised.
             py::kw_only(), py::arg("join_tol") = 1e-4, py::arg("merge_tol") = 1e-4,
             py::arg("tiny_size") = 1e-3, py::arg("merge") = true, py::arg("remove_tiny") = true,
             py::arg("move_to_origin") = false, py::arg("orient") = true, py::arg("recognise") = true,
             py::arg("nest") = true, py::arg("optimize") = false, py::arg("optimize_tol") = 0.01,
             py::arg("remove_duplicates") = true, py::arg("arrays") = true)
        .def_readwrite("join_tol", &ImportOptions::joinTol)
        .def_readwrite("merge_tol", &ImportOptions::mergeTol)
        .def_readwrite("tiny_size", &ImportOptions::tinySize)
        .def_readwrite("merge", &ImportOptions::merge)
        .def_readwrite("remove_tiny", &ImportOptions::removeTiny)
        .def_readwrite("move_to_origin", &ImportOptions::moveToOrigin)
        .def_readwrite("orient", &ImportOptions::orient)
        .def_readwrite("recognise", &ImportOptions::recognise)
        .def_readwrite("nest", &ImportOptions::nest)
        .def_readwrite("optimize", &ImportOptions::optimize)
        .def_readwrite("optimize_tol", &ImportOptions::optimizeTol)
        .def_readwrite("remove_duplicates", &ImportOptions::removeDuplicates)
        .def_readwrite("arrays", &ImportOptions::arrays);

    py::class_<ImportReport>(m, "ImportReport", "What an import did.")
        .def_readonly("pieces_in", &ImportReport::piecesIn)
        .def_readonly("merged", &ImportReport::duplicatesMerged)
        .def_readonly("tiny_removed", &ImportReport::tinyRemoved)
        .def_readonly("shapes_recognised", &ImportReport::shapesRecognised)
        .def_property_readonly(
            "stages",
            [](const ImportReport& r) {
                py::list stages;
                for (const ImportReport::StageTime& s : r.stages)
                    stages.append(py::make_tuple(ImportPipeline::StageText(s.stage), s.seconds));
                return stages;
            },
            "(stage, seconds) for each stage that ran, in order");

    py::class_<DxfInfo>(m, "DxfInfo", "What the DXF reader said about the drawing.")
        .def_readonly("unit", &DxfInfo::unit)
        .def_readonly("unit_source", &DxfInfo::unitSource)
        .def_readonly("scale_to_mm", &DxfInfo::scaleToMm)
        .def_readonly("read", &DxfInfo::read)
        .def_readonly("skipped", &DxfInfo::skipped)
        .def_readonly("warnings", &DxfInfo::warnings);

    py::class_<PatternInfo>(m, "Pattern", "A copy of one pattern's data.")
        .def_readonly("id", &PatternInfo::id)
        .def_readonly("type", &PatternInfo::type)
        .def_readonly("type_code", &PatternInfo::typeCode)
        .def_property_readonly(
            "params",
            [](const PatternInfo& p) {
                py::dict params;  // in the property bar's order
                for (const auto& [key, value] : p.params) params[py::str(key)] = py::cast(value);
                return params;
            },
            "values by name (lengths in mm, angles in degrees)")
        .def_readonly("layer", &PatternInfo::layer)
        .def_readonly("colour", &PatternInfo::colour)
        .def_readonly("array_seed", &PatternInfo::arraySeed)
        .def("__repr__",
             [](const PatternInfo& p) { return "Pattern(" + p.type + " #" + std::to_string(p.id) + ")"; });

    py::class_<LoopInfo>(m, "Loop", "A copy of one loop's data.")
        .def_readonly("index", &LoopInfo::index)
        .def_readonly("id", &LoopInfo::id)
        .def_readonly("kind", &LoopInfo::kind)
        .def_readonly("shape", &LoopInfo::shape)
        .def_readonly("closed", &LoopInfo::closed)
        .def_readonly("direction", &LoopInfo::direction)
        .def_readonly("depth", &LoopInfo::depth, "closed loops around it (0 outermost); -1 without nesting")
        .def_readonly("role", &LoopInfo::role, "'outer', 'hole', 'island' or 'open'")
        .def_readonly("boundary", &LoopInfo::boundary)
        .def_readonly("pieces", &LoopInfo::pieces, "pattern ids in loop order")
        .def_property_readonly(
            "box",
            [](const LoopInfo& l) -> py::object {
                if (l.box.size() != 4)
                    return py::none();
                return py::make_tuple(l.box[0], l.box[1], l.box[2], l.box[3]);
            },
            "(xmin, ymin, xmax, ymax)")
        .def("__repr__", &Repr);

    py::class_<PyPart, std::shared_ptr<PyPart>>(m, "Part", "One part's patterns, loops and their nesting.")
        .def_property_readonly("patterns", &PyPart::Patterns)
        .def_property_readonly("loops", &PyPart::Loops)
        .def_property_readonly("box", &PyPart::Box, "(xmin, ymin, xmax, ymax), or None when empty")
        .def_property_readonly("import_report", &PyPart::Report)
        .def_property_readonly("dxf", &PyPart::Dxf)
        .def("summary", &PyPart::Summary, py::arg("tree") = true,
             "The part's summary as `geomfeature info --json` gives it")
        .def("clean", &PyPart::Clean, py::arg("options") = ProgramImportOptions(),
             "Run the import sequence on the patterns (loops built afresh)")
        .def("save", &PyPart::Save, py::arg("path"), py::kw_only(), py::arg("overwrite") = false,
             py::arg("progress") = py::none(), "Save as a part database, replacing the file in one step")
        .def("render", &PyPart::Render, py::arg("path"), py::kw_only(), py::arg("width") = 1600,
             py::arg("height") = 1200, py::arg("snap") = false, py::arg("dark") = false,
             py::arg("overwrite") = false, "Draw to a .png, .svg or .pdf file")
        .def("recognise_shapes", &PyPart::RecogniseShapes,
             "Closed contours that are standard shapes become them")
        .def("recognise_arrays", &PyPart::RecogniseArrays,
             "Regular rows, grids and rings of equal shapes become arrays")
        .def("offset_loop", &PyPart::OffsetLoop, py::arg("index"), py::arg("distance"), py::kw_only(),
             py::arg("grow") = true, "Move a closed loop outwards (grow) or inwards by distance")
        .def("compensate_kerf", &PyPart::CompensateKerf, py::arg("kerf"),
             "Kerf compensation of every closed loop; answers the warnings as `geomfeature offset` prints "
             "them");

    m.def("read_dxf", &PyPart::ReadDxf, py::arg("path"), py::kw_only(), py::arg("chord_tol") = 0.01,
          py::arg("unit") = py::none(), "Read a DXF drawing's geometry as loose patterns, without clean-up");
    m.def("import_dxf", &PyPart::ImportDxf, py::arg("path"), py::arg("options") = ProgramImportOptions(),
          py::kw_only(), py::arg("chord_tol") = 0.01, py::arg("unit") = py::none(),
          py::arg("progress") = py::none(),
          "Read a DXF drawing and run the import sequence, as `geomfeature import` does. progress(fraction, "
          "stage) is called as the work goes on; answering False stops it with CancelledError.");
    m.def("open_part", &PyPart::Open, py::arg("path"), "Open a saved part database");
    m.def("pattern_type_name", &PatternTypeName, py::arg("type_code"));
}

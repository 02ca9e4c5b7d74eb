#include "cli/Commands.h"

#include <CLI/CLI.hpp>

#include <sstream>
#include <string>
#include <vector>

#include "cli/Console.h"
#include "cli/Convert.h"
#include "cli/CrsOption.h"
#include "cli/Instruments.h"
#include "cli/Link.h"
#include "cli/OutputFiles.h"
#include "cli/Report.h"
#include "files/CoordinateSystem.h"
#include "files/FileSystem.h"
#include "files/PointFormats.h"
#include "files/TextEncoding.h"

#ifndef POINTLINK_VERSION
#error "POINTLINK_VERSION must name the build's version"
#endif

namespace {

constexpr int kUsage = 2;

// Accepts a format by name or number; readable limits it to the formats
// that can be read.
CLI::Validator formatCheck(bool readable) {
    return CLI::Validator(
        [readable](std::string& text) -> std::string {
            const PointFormat* format = findPointFormat(text);
            if (!format) return "unknown format '" + text + "' (pointlink formats lists them)";
            if (readable && !format->readable())
                return std::string(format->name) + " is written only; read one of ruvo, topcom, sv300, gzkass, "
                                                   "southkass (or 1 to 5)";
            return std::string();
        },
        "");
}

CLI::Validator instrumentCheck() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (findInstrument(text)) return std::string();
            std::string names;
            for (std::size_t i = 0; i < instrumentCount(); ++i)
                names += std::string(i ? " or " : "") + instrumentAt(i).name;
            return "unknown instrument '" + text + "' (" + names + ")";
        },
        "");
}

CLI::Validator encodingCheck() {
    return CLI::Validator(
        [](std::string& text) -> std::string {
            if (openTextEncoding(text)) return std::string();
            return "unknown encoding '" + text + "' (gbk, cp1252, utf-8, or another that the system converts)";
        },
        "");
}

// What --encoding says, in the help of the commands that write.
std::string encodingHelp() {
    return "Code page of the names and marks (gbk, cp1252, utf-8...); the UTF-8 outputs convert from it. "
           "Default: " +
           defaultTextEncodingName();
}

// What --crs says, in the help of the commands that write.
constexpr char kCrsHelp[] =
    "Coordinate system of the points' N and E: an EPSG code (EPSG:4526), a PROJ string or WKT. geojson is then "
    "written in WGS 84 longitude and latitude; kml needs it";

// The systems of the grids that surveys use, in the help of the commands
// that write. Every code here is checked against PROJ's database by the
// tests.
constexpr char kCrsFooter[] =
    "\nCoordinate systems (--crs) of eastings with the zone in front (38512345.567 is 512345.567 in zone 38), the "
    "Gauss-Kruger zones of China's grids (zone 38: EPSG:4526, CGCS2000 / 3-degree Gauss-Kruger zone 38).\n"
    "  3-degree zones 25-45: CGCS2000 EPSG:4513-4533, Beijing 1954 EPSG:2401-2421, Xian 1980 EPSG:2349-2369;\n"
    "  6-degree zones 13-23: CGCS2000 EPSG:4491-4501, Beijing 1954 EPSG:21413-21423, Xian 1980 EPSG:2327-2337.\n"
    "UTM: EPSG:326NN for WGS 84 / UTM zone NN north (EPSG:32650: zone 50N), EPSG:327NN south; or a PROJ "
    "string: '+proj=utm +zone=50 +datum=WGS84'.\n"
    "Points outside the system's area of use are written and counted in a warning.";

void listFormats(std::FILE* out) {
    std::fprintf(out, "%-10s %-3s %-9s %-12s %-6s %s\n", "name", "no.", "extension", "use", "texts",
                 "description");
    for (std::size_t i = 0; i < pointFormatCount(); ++i) {
        const PointFormat& format = pointFormatAt(i);
        std::string number = format.number > 0 ? std::to_string(format.number) : "-";
        std::fprintf(out, "%-10s %-3s %-9s %-12s %-6s %s\n", format.name, number.c_str(), format.extension,
                     format.readable() ? "read, write" : "write", format.convertsTexts() ? "UTF-8" : "bytes",
                     format.description);
    }
    std::fprintf(out,
                 "\nTexts: \"bytes\" formats keep names and marks as the bytes they are, in the points' own code "
                 "page;\n\"UTF-8\" formats convert them from the code page that --encoding names (default %s).\n"
                 "dxf is DXF R2007, UTF-8, with a layer per mark. landxml declares metres: the point files carry "
                 "no unit.\ngeojson holds [longitude,latitude,Z] in WGS 84 when --crs names the coordinate system "
                 "of N and E;\nwithout it, the grid coordinates [E,N,Z] as they are, and no coordinate system. "
                 "kml needs --crs.\n",
                 defaultTextEncodingName().c_str());
}

}  // namespace

int runPointlink(int argc, const char* const* argv, Console& console, std::FILE* in, std::FILE* out,
                 std::FILE* err) {
    CLI::App app("Converts point files and exchanges points with Korvel and Tassin total stations.",
                 "pointlink");
    app.set_version_flag("--version", std::string("pointlink ") + POINTLINK_VERSION,
                         "Show the program's version and exit");
    app.require_subcommand(1);
    app.footer("Exit status: 0 success, 1 failure, 2 wrong usage. Run 'pointlink COMMAND --help' for a command.");

    CLI::App* formats = app.add_subcommand("formats", "List the point-file formats");

    ConvertRequest convert;
    std::string from, to;
    CLI::App* convertCommand = app.add_subcommand("convert", "Convert point files from one format to another");
    convertCommand->add_option("IN", convert.inputs, "Input files ('-' for standard input)")
        ->required()
        ->type_name("FILE");
    convertCommand->add_option("--from", from, "Format of the inputs: name or number (1-5)")
        ->required()
        ->type_name("FORMAT")
        ->check(formatCheck(true));
    convertCommand->add_option("--to", to, "Format to write: name or number (pointlink formats)")
        ->required()
        ->type_name("FORMAT")
        ->check(formatCheck(false));
    CLI::Option* output =
        convertCommand->add_option("-o,--output", convert.output, "Output file ('-' for standard output)")
            ->type_name("FILE");
    CLI::Option* outDir =
        convertCommand->add_option("--out-dir", convert.outDir, "Output folder: each input becomes a file there")
            ->type_name("FOLDER");
    output->excludes(outDir);
    convertCommand->add_flag("--strict", convert.strict, "Treat a line that cannot be read as an error");
    std::string convertEncoding = defaultTextEncodingName();
    convertCommand->add_option("--encoding", convertEncoding, encodingHelp())
        ->type_name("NAME")
        ->check(encodingCheck());
    std::string convertCrs;
    convertCommand->add_option("--crs", convertCrs, kCrsHelp)->type_name("CRS");
    convertCommand->footer(
        std::string("Nothing is written when a point cannot be written faithfully in the output format or a file "
                    "fails: the output file is replaced only when complete.\n") +
        kCrsFooter);

    ReceiveRequest receive;
    std::string receiveInstrument, receiveTo;
    CLI::App* receiveCommand = app.add_subcommand(
        "receive", "Receive the points that an instrument sends, writing each as it arrives");
    receiveCommand->add_option("--instrument", receiveInstrument, "korvel or tassin")
        ->required()
        ->type_name("NAME")
        ->check(instrumentCheck());
    receiveCommand->add_option("--port", receive.port, "Serial port (/dev/ttyUSB0; COM1 on Windows)")
        ->required()
        ->type_name("DEVICE");
    receiveCommand->add_option("-o,--output", receive.output, "Output file ('-' for standard output)")
        ->required()
        ->type_name("FILE");
    receiveCommand->add_option("--to", receiveTo, "Format to write: name or number (pointlink formats)")
        ->required()
        ->type_name("FORMAT")
        ->check(formatCheck(false));
    std::string receiveEncoding = defaultTextEncodingName();
    receiveCommand->add_option("--encoding", receiveEncoding, encodingHelp())
        ->type_name("NAME")
        ->check(encodingCheck());
    std::string receiveCrs;
    receiveCommand->add_option("--crs", receiveCrs, kCrsHelp)->type_name("CRS");
    receiveCommand->footer(
        std::string("Start the transfer on the instrument once pointlink waits. Ctrl-C stops; the points received "
                    "so far stay in the output, as they do when the line drops.\n") +
        kCrsFooter);

    SendRequest send;
    std::string sendInstrument, sendFrom;
    CLI::App* sendCommand = app.add_subcommand("send", "Send the points of a file to an instrument");
    sendCommand->add_option("IN", send.input, "Input file ('-' for standard input)")->required()->type_name("FILE");
    sendCommand->add_option("--instrument", sendInstrument, "korvel or tassin")
        ->required()
        ->type_name("NAME")
        ->check(instrumentCheck());
    sendCommand->add_option("--port", send.port, "Serial port (/dev/ttyUSB0; COM1 on Windows)")
        ->required()
        ->type_name("DEVICE");
    sendCommand->add_option("--from", sendFrom, "Format of the input: name or number (1-5)")
        ->required()
        ->type_name("FORMAT")
        ->check(formatCheck(true));
    sendCommand->add_flag("--strict", send.strict, "Treat a line that cannot be read as an error");
    sendCommand->footer(
        "Nothing is sent when a point cannot travel to the instrument faithfully. Start the transfer on the "
        "instrument once pointlink waits; Ctrl-C stops.");

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        std::ostringstream help, error;
        int code = app.exit(e, help, error);
        std::fputs(help.str().c_str(), out);
        std::fputs(error.str().c_str(), err);
        return code == 0 ? 0 : kUsage;
    }

    Report report(err);
    OutputFiles files(console.files());
    if (formats->parsed()) {
        listFormats(out);
        return 0;
    }
    if (convertCommand->parsed()) {
        if (convert.output.empty() && convert.outDir.empty()) {
            report.program("convert needs an output: -o FILE or --out-dir FOLDER");
            return kUsage;
        }
        convert.from = findPointFormat(from);
        convert.to = findPointFormat(to);
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(convertEncoding);
        std::string problem = checkConvertRequest(convert, console.files());
        if (!problem.empty()) {
            report.program(problem);
            return kUsage;
        }
        std::unique_ptr<CoordinateSystem> crs;
        CoordinateSystems& systems = console.coordinateSystems();
        const int crsStatus = openCrs({convertCrs, convert.to, convert.inputs, convert.from}, systems, files,
                                      report, crs);
        if (crsStatus != 0) return crsStatus;
        convert.settings = WriteSettings{encoding.get(), &console.files().system(), crs.get()};
        convert.systems = &systems;
        ConvertStreams streams{in, out, files, report, [&console] { return console.interrupted(); }};
        return runConvert(convert, streams);
    }
    LinkStreams link{in, out, files, report, console};
    if (receiveCommand->parsed()) {
        receive.instrument = findInstrument(receiveInstrument);
        receive.to = findPointFormat(receiveTo);
        const std::unique_ptr<TextEncoding> encoding = openTextEncoding(receiveEncoding);
        std::unique_ptr<CoordinateSystem> crs;
        CoordinateSystems& systems = console.coordinateSystems();
        const int crsStatus = openCrs({receiveCrs, receive.to, {}, nullptr}, systems, files, report, crs);
        if (crsStatus != 0) return crsStatus;
        receive.settings = WriteSettings{encoding.get(), &console.files().system(), crs.get()};
        receive.systems = &systems;
        return runReceive(receive, link);
    }
    if (sendCommand->parsed()) {
        send.instrument = findInstrument(sendInstrument);
        send.from = findPointFormat(sendFrom);
        return runSend(send, link);
    }
    return kUsage;
}

#include "app/options.h"

#include <filesystem>
#include <optional>
#include <string_view>

// ---- constants -------------------------------------------------------------

static const char kUsage[] =
    "Usage: quorvane [OPTION]... [GLUT OPTION]...\n"
    "Defend a planet from the missiles that fly at it.\n"
    "\n"
    "Options:\n"
    "  --record FILE     play, and write every input to FILE as a recording\n"
    "  --replay [FILE]   play FILE back at its recorded pace; without FILE, the demo\n"
    "  --timedemo [FILE] play FILE back as fast as possible, then print the frame\n"
    "                    rate; without FILE, the demo\n"
    "  --shots LIST      with --record, --replay or --timedemo: save frames as PNG\n"
    "                    (LIST: frame numbers from 1, ranges A-B and 'last', by commas)\n"
    "  --sound-out FILE  with --replay or --timedemo: render the soundtrack into FILE\n"
    "                    (a WAV file) instead of playing it\n"
    "  --mute            no sound\n"
    "  --help            print this help and exit\n"
    "  --version         print the version and exit\n"
    "\n"
    "GLUT options, passed on to GLUT:\n"
    "  -display NAME\n"
    "  -geometry WxH+X+Y\n"
    "  -iconic\n"
    "  -direct\n"
    "  -indirect\n"
    "  -gldebug\n"
    "  -sync\n"
    "\n"
    "Exit status: 0 on quit or a finished replay; 1 on a bad image, no display or a\n"
    "bad recording; 2 on a usage error; 3 when a replay no longer follows its game.\n";

// GLUT's own options, and whether each takes a value.
struct GlutOption {
    std::string_view name;
    bool             takesValue;
};
constexpr GlutOption kGlutOptions[] = {
    {"-display", true}, {"-geometry", true}, {"-iconic", false}, {"-direct", false},
    {"-indirect", false}, {"-gldebug", false}, {"-sync", false},
};

// ---- types -----------------------------------------------------------------

namespace {

// One of the options, ours or GLUT's.
bool isOption(std::string_view arg)
{
    for (const GlutOption& option : kGlutOptions)
        if (arg == option.name)
            return true;
    return arg.substr(0, 2) == "--";
}

// Walks argv once, taking out the game's options.
struct Parser {
    int          argc;
    char**       argv;
    int          i = 1;
    Options&     options;
    std::string& error;
    std::vector<std::string_view> seen;

    bool fail(const std::string& what)
    {
        error = what;
        return false;
    }
    bool once(std::string_view name)
    {
        for (std::string_view s : seen)
            if (s == name)
                return fail("option " + std::string(name) + " is given twice");
        seen.push_back(name);
        return true;
    }
    // The value of --name: after '=' or the next argument, which may not
    // look like an option (use --name=-file for such a name). A `dashed`
    // value only may not be one of the options.
    bool value(std::string_view name, std::optional<std::string_view> inline_, std::string& out, bool dashed = false)
    {
        if (inline_) {
            out = *inline_;
        } else if (i + 1 < argc && (argv[i + 1][0] != '-' || (dashed && !isOption(argv[i + 1])))) {
            out = argv[++i];
        } else {
            return fail("option " + std::string(name) + " needs a value");
        }
        if (out.empty())
            return fail("option " + std::string(name) + " needs a value");
        return true;
    }
    bool mode(Mode m, std::string_view name)
    {
        if (options.mode != Mode::Play)
            return fail("only one of --record, --replay and --timedemo may be given, not also " + std::string(name));
        options.mode = m;
        return true;
    }
    bool ours(std::string_view arg);
    bool glut(std::string_view arg);
};

}  // namespace

// ---- functions -------------------------------------------------------------

bool Parser::ours(std::string_view arg)
{
    const std::size_t equals = arg.find('=');
    const std::string_view name = arg.substr(0, equals);
    std::optional<std::string_view> inline_;
    if (equals != std::string_view::npos)
        inline_ = arg.substr(equals + 1);
    if (!once(name))
        return false;
    if (name == "--help" || name == "--version" || name == "--mute") {
        if (inline_)
            return fail("option " + std::string(name) + " takes no value");
        (name == "--help" ? options.help : name == "--version" ? options.version : options.mute) = true;
        return true;
    }
    if (name == "--record")
        return mode(Mode::Record, name) && value(name, inline_, options.file);
    if (name == "--replay" || name == "--timedemo") {  // without FILE: the shipped demo
        if (!mode(name == "--replay" ? Mode::Replay : Mode::Timedemo, name))
            return false;
        if (inline_ || (i + 1 < argc && argv[i + 1][0] != '-'))
            return value(name, inline_, options.file);
        return true;
    }
    if (name == "--sound-out")
        return value(name, inline_, options.soundOut);
    if (name == "--shots") {
        std::string list;
        if (!value(name, inline_, list, true))  // "-5" is a bad list, not a missing one
            return false;
        if (!parseShotList(list, options.shots))
            return fail("option --shots takes frame numbers from 1, ranges A-B and 'last', by commas, not '" + list + "'");
        options.saveShots = true;
        return true;
    }
    return fail("unknown option '" + std::string(arg) + "'");
}

bool Parser::glut(std::string_view arg)
{
    for (const GlutOption& option : kGlutOptions) {
        if (arg != option.name)
            continue;
        options.glutArgs.push_back(argv[i]);
        if (!option.takesValue)
            return true;
        if (i + 1 >= argc)
            return fail("option " + std::string(arg) + " needs a value");
        options.glutArgs.push_back(argv[++i]);
        return true;
    }
    return fail("unknown option '" + std::string(arg) + "'");
}

bool parseOptions(int argc, char** argv, Options& options, std::string& error)
{
    options = Options{};
    options.glutArgs.push_back(argv[0]);
    Parser parser{argc, argv, 1, options, error, {}};
    for (; parser.i < argc; ++parser.i) {
        const std::string_view arg = argv[parser.i];
        if (arg.size() < 2 || arg[0] != '-')
            return parser.fail("unexpected argument '" + std::string(arg) + "'");
        if (!(arg[1] == '-' ? parser.ours(arg) : parser.glut(arg)))
            return false;
    }
    if (options.saveShots && options.mode == Mode::Play)
        return parser.fail("option --shots goes with --record, --replay or --timedemo");
    if (!options.soundOut.empty() && options.mode != Mode::Replay && options.mode != Mode::Timedemo)
        return parser.fail("option --sound-out goes with --replay or --timedemo");
    std::error_code code;
    if (!options.file.empty())
        options.path = std::filesystem::absolute(options.file, code).string();
    if (code)
        options.path = options.file;
    if (!options.soundOut.empty())
        options.soundOut = std::filesystem::absolute(options.soundOut, code).string();
    return true;
}

const char* usageText() { return kUsage; }

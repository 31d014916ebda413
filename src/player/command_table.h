// The command table: the 188 command names in ascending byte order, each with
// its handler. Families register their handlers from their own files (see
// command_families.cpp); a name nobody registered keeps a handler that ends
// the run with a message naming the command.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace glint::player {

struct Player;

// A handler reads its parameters from player.parameters, may store results
// in variables, may report an error (which does not return) and may set the
// run state.
using CommandHandler = void (*)(Player&);

inline constexpr std::size_t kCommandCount = 188;

inline constexpr std::array<std::string_view, kCommandCount> kCommandNames = {
    "ANIMATIONADVANCE",
    "ANIMATIONADVANCENOPALETTE",
    "ANIMATIONBACKTOSTART",
    "ANIMATIONCLOSE",
    "ANIMATIONDELAY",
    "ANIMATIONFRAMES",
    "ANIMATIONGOTO",
    "ANIMATIONHEIGHT",
    "ANIMATIONLIST",
    "ANIMATIONLOADTOBITMAP",
    "ANIMATIONOPEN",
    "ANIMATIONPLAY",
    "ANIMATIONSTILLDELAY",
    "ANIMATIONTOBITMAP",
    "ANIMATIONTOSCREEN",
    "ANIMATIONTRACKS",
    "ANIMATIONWIDTH",
    "BITMAPALLOC",
    "BITMAPBOX",
    "BITMAPCHANGECOLOR",
    "BITMAPCLEAR",
    "BITMAPFADEINPALETTE",
    "BITMAPFILLEDBOX",
    "BITMAPFREE",
    "BITMAPFROMSCREEN",
    "BITMAPGETBRIGHTESTPALETTEINDEX",
    "BITMAPGETDARKESTPALETTEINDEX",
    "BITMAPGETPALETTE",
    "BITMAPGETPALETTEVALUE",
    "BITMAPGETPIXEL",
    "BITMAPHEIGHT",
    "BITMAPLINE",
    "BITMAPLIST",
    "BITMAPPALETTETOPALETTE",
    "BITMAPSETPALETTE",
    "BITMAPSETPALETTEVALUE",
    "BITMAPSETPIXEL",
    "BITMAPTEXT",
    "BITMAPTOBITMAP",
    "BITMAPTOBITMAPMASK",
    "BITMAPTOBITMAPMERGE",
    "BITMAPTOBITMAPTRANS",
    "BITMAPTOSCREEN",
    "BITMAPTOSCREENMASK",
    "BITMAPTOSCREENMERGE",
    "BITMAPTOSCREENTRANS",
    "BITMAPWIDTH",
    "CALL",
    "CALLANDGOSUB",
    "COMPUTE",
    "COMPUTEABS",
    "COMPUTESQRT",
    "DEBUGFILE",
    "DEBUGTEXT",
    "DELAY",
    "DELAYUNTIL",
    "DIRCHANGE",
    "DIRCURRENT",
    "DIREXISTS",
    "DIRMAKE",
    "DIRREMOVE",
    "DRIVEAVAIL",
    "DRIVESIZE",
    "END",
    "ENVGET",
    "ENVSET",
    "EXECUTE",
    "EXIT",
    "FILEAPPEND",
    "FILECDROM",
    "FILECLOSE",
    "FILECOPY",
    "FILECREATE",
    "FILEDELETE",
    "FILEEOF",
    "FILEEXISTS",
    "FILEFIND",
    "FILEFINDNEXT",
    "FILEFULLPATH",
    "FILEGETATTRIB",
    "FILELIST",
    "FILEOPEN",
    "FILEPIECES",
    "FILEREAD",
    "FILEREMOTE",
    "FILEREMOVABLE",
    "FILERENAME",
    "FILESETATTRIB",
    "FILESIZE",
    "FILETEMP",
    "FILEWRITE",
    "GOSUB",
    "GOTO",
    "IF",
    "IFSET",
    "INPUTCHAR",
    "INPUTCHARORDELAY",
    "INPUTMSGWIN",
    "INPUTSTR",
    "INPUTSTRWIN",
    "INTERPRET",
    "MCISENDSTRING",
    "MOUSEADD",
    "MOUSEAREA",
    "MOUSEMODE",
    "MOUSEPOP",
    "MOUSEPRESENT",
    "MOUSEPUSHANDREMOVEALL",
    "MOUSEREMOVE",
    "MOUSEREMOVEALL",
    "MOUSESETXY",
    "MOUSEX",
    "MOUSEY",
    "PRINTBEGIN",
    "PRINTEND",
    "PRINTPAGEADV",
    "RANDOM",
    "RANDOMIZE",
    "RETURN",
    "SCREENADJUSTXY",
    "SCREENBOX",
    "SCREENCLEAR",
    "SCREENFADEOUTCLEAR",
    "SCREENFADESPEED",
    "SCREENFILLEDBOX",
    "SCREENFORCEPALETTEZEROBLACK",
    "SCREENGETBRIGHTESTPALETTEINDEX",
    "SCREENGETDARKESTPALETTEINDEX",
    "SCREENGETPIXEL",
    "SCREENGRAPHICS",
    "SCREENHEIGHT",
    "SCREENINFO",
    "SCREENLINE",
    "SCREENPALETTELOCK",
    "SCREENSETPIXEL",
    "SCREENSETTINGS",
    "SCREENTEXT",
    "SCREENWIDTH",
    "SCREENWINDOWAUTOPAUSE",
    "SCREENWINDOWBORDER",
    "SCREENWINDOWHASFOCUS",
    "SCREENWINDOWHPAL",
    "SCREENWINDOWHWND",
    "SCREENWINDOWPOS",
    "SCREENWINDOWTITLE",
    "SOUND",
    "STRADDBACKSLASH",
    "STRFIND",
    "STRFIRST",
    "STRISLABEL",
    "STRISNUMERIC",
    "STRLCASE",
    "STRLENGTH",
    "STRLPAD",
    "STRLPADZERO",
    "STRPIECE",
    "STRREPEAT",
    "STRRPAD",
    "STRTRIM",
    "STRUCASE",
    "SYSTEMCOLORS",
    "SYSTEMCOMMANDLINE",
    "SYSTEMCURRENTEXE",
    "SYSTEMCURRENTSCRIPT",
    "SYSTEMDATETIME",
    "SYSTEMDISPLAYRESOLUTION",
    "SYSTEMMEMORY",
    "SYSTEMOSMAJOR",
    "SYSTEMOSMINOR",
    "SYSTEMPLATFORM",
    "SYSTEMTIMER",
    "SYSTEMUSEDIRECTSOUND",
    "SYSTEMUSEMMX",
    "TEXT",
    "TEXTBACKCOLOR",
    "TEXTBEGIN",
    "TEXTCOLOR",
    "TEXTFONTFROMBITMAP",
    "TEXTNOCR",
    "TEXTSETXY",
    "TEXTTRANSCOLOR",
    "TEXTX",
    "TEXTY",
    "VARFREE",
    "VARLIST",
    "VARPOP",
    "VARPUSH",
    "VARSET",
};

struct CommandTable {
  std::array<CommandHandler, kCommandCount> handlers{};
};

// The table with every family's handlers, built on first use.
const CommandTable& command_table();

// Binary search over the sorted names; the word must match a name exactly.
std::optional<uint8_t> find_command(std::string_view upper_case_word);

// Used by the family registration functions.
void register_command(CommandTable& table, std::string_view name, CommandHandler handler);

// Every family adds its handlers through one of these (command_families.cpp).
void register_flow_commands(CommandTable& table);
void register_variable_commands(CommandTable& table);
void register_arithmetic_commands(CommandTable& table);
void register_debug_commands(CommandTable& table);

// The handler of a command whose family is not built yet.
void command_not_available(Player& player);

}  // namespace glint::player

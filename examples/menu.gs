# An interactive menu: three buttons made of mouse areas. Click one (or
# press its key) to play the bouncing ball once or twice, or to leave after
# a question in a message box. The pointer over the Quit button is a small
# bitmap of its own; elsewhere it is the player's arrow. Run it from the top
# of the tree (the animation is examples/demo.gnt); the trace goes to
# build/menu-trace.txt.
DEBUGFILE "build/menu-trace.txt"
SCREENWINDOWTITLE "GlintScr menu"
SCREENGRAPHICS OK 320 200
IF OK = 0 GOTO "no window"

# A square pointer for the Quit button: colour 0 is transparent in a
# pointer bitmap, so only the frame shows.
BITMAPALLOC HAND 9 9
BITMAPBOX HAND 0 0 8 8 63

GOSUB "draw menu"

:menu
INPUTCHAR CHOICE
DEBUGTEXT "Choice: %CHOICE%"
IF CHOICE = "once" GOTO "play once"
IF CHOICE = "1" GOTO "play once"
IF CHOICE = "twice" GOTO "play twice"
IF CHOICE = "2" GOTO "play twice"
IF CHOICE = "quit" GOTO "ask"
IF CHOICE = "q" GOTO "ask"
IF CHOICE = "ESCAPE" GOTO "ask"
# Closing the window reads as Alt+F4: leave without asking.
IF CHOICE = "ALT F4" GOTO "leave"
GOTO "menu"

# The ball plays centred; the menu under it is saved first and comes back
# afterwards (flag 0x10), and Escape stops it (0x80).
:play once
VARSET COUNT 1
GOTO "play"
:play twice
VARSET COUNT 2
:play
# The menu's areas wait on their own level while the ball plays.
MOUSEPUSHANDREMOVEALL
ANIMATIONPLAY PLAYED -1 -1 COUNT 144 "examples/demo.gnt"
DEBUGTEXT "ANIMATIONPLAY gave %PLAYED%"
MOUSEPOP
GOSUB "status"
GOTO "menu"

:ask
INPUTMSGWIN ANSWER -1 -1 4 "Leave the menu?"
DEBUGTEXT "Leave? %ANSWER%"
IF ANSWER = 4 GOTO "leave"
GOTO "menu"

:leave
BITMAPFREE HAND
SCREENTEXT
:no window
DEBUGTEXT "The end"
END

:draw menu
SCREENCLEAR 0
TEXTCOLOR 63
TEXTSETXY 112 16
TEXT "GlintScr menu"
MOUSEREMOVEALL
SCREENFILLEDBOX 40 60 240 24 200
TEXTBACKCOLOR 200
TEXTSETXY 56 68
TEXT "1  Play the ball once"
MOUSEADD "once" 40 60 240 24 0
SCREENFILLEDBOX 40 96 240 24 140
TEXTBACKCOLOR 140
TEXTSETXY 56 104
TEXT "2  Play it twice"
MOUSEADD "twice" 40 96 240 24 0
SCREENFILLEDBOX 40 132 240 24 100
TEXTBACKCOLOR 100
TEXTSETXY 56 140
TEXT "Q  Quit"
MOUSEADD "quit" 40 132 240 24 HAND
TEXTBACKCOLOR 0
RETURN

:status
TEXTSETXY 40 176
TEXTNOCR "Played: %PLAYED%    "
RETURN

# The demonstration presentation. It grows as the player learns to show
# things: it narrates through the debug trace (build/demo-trace.txt, which
# `make demo` prints; started from elsewhere, the trace cannot be created and
# the narration is silent), then opens the presentation window.
DEBUGFILE "build/demo-trace.txt"
DEBUGTEXT "GlintScript demo: variables, arithmetic and flow control"

VARSET GREETING "Hello from GlintScr"
DEBUGTEXT "%GREETING%"

# Count to five with a loop.
VARSET N 0
:count
COMPUTE N = N + 1
IF N < 5 GOTO "count"
DEBUGTEXT "Counted to %N%"

# Fibonacci numbers, one step per GOSUB.
VARSET A 0; VARSET B 1; VARSET I 0
:fib
GOSUB "next fib"
IF I < 10 GOTO "fib"
DEBUGTEXT "The tenth Fibonacci number is %A%"

# Random numbers: seeded, so the same every run.
RANDOMIZE 1
RANDOM R 32766
DEBUGTEXT "After RANDOMIZE 1, RANDOM 32766 draws %R%"
COMPUTESQRT S 2147483647
COMPUTEABS M -2147483647
DEBUGTEXT "Square root of 2147483647: %S%; absolute value of -2147483647: %M%"

# Comparisons: numbers as numbers, texts with or without case.
IFSET "10" > "9" NUM "numbers" "texts"
IFSET "abc" = "ABC" ANYCASE "equal" "different"
IFSET "abc" @= "ABC" EXACT "equal" "different"
DEBUGTEXT "10 > 9 compares as %NUM%; abc and ABC are %ANYCASE% without case, %EXACT% with it"

# Saving and restoring variables.
VARPUSH N GREETING
VARSET N "changed"; VARFREE GREETING
VARPOP
DEBUGTEXT "After VARPOP, N is %N% again and the greeting is back: %GREETING%"

# A command line built while the script runs.
VARSET LINE "DEBUGTEXT 'This line was interpreted'"
INTERPRET LINE

# The presentation. Entries 250-255 of the palette hold the title colours
# and are locked, so the animations' palettes leave them alone. Headless
# runs write what the window shows as PPM snapshots (make demo puts them in
# build/demo-snapshots). The animations come with the example:
# examples/make_demo_sound.py and examples/make_demo_frames.py render them.
SCREENWINDOWTITLE "GlintScr demo"
SCREENGRAPHICS OK 320 200
IF %OK% = 0 GOTO "no window"
BITMAPALLOC P 1 1
BITMAPGETPALETTE P
BITMAPSETPALETTEVALUE P 250 4200456
BITMAPSETPALETTEVALUE P 251 16777215
BITMAPSETPALETTEVALUE P 252 3194096
BITMAPSETPALETTEVALUE P 253 15778944
BITMAPSETPALETTE P
BITMAPFREE P
SCREENPALETTELOCK 250 6 1
SCREENCLEAR 250
SCREENBOX 4 4 312 192 253
TEXTBACKCOLOR 250
TEXTTRANSCOLOR 250
TEXTCOLOR 252
TEXTSETXY 88 14
TEXT "The GlintScr demo"
TEXTCOLOR 251
TEXTSETXY 60 180
TEXT "Animations, sound and text"

# A chime: played centred with its sound, fading in from black and out at
# the end; the title screen is saved first and comes back afterwards
# (flags 0x10 save, 0x20 fade in, 0x40 fade out).
DEBUGTEXT "Playing the chime with its sound"
ANIMATIONPLAY PLAYED -1 -1 1 112 "examples/demo_chime"
DEBUGTEXT "ANIMATIONPLAY gave %PLAYED%"

# A bouncing ball, stepped by the script: one ANIMATIONADVANCE a frame,
# ANIMATIONDELAY keeping the animation's own pace.
ANIMATIONOPEN BALL 0 "examples/demo.gnt"
IF %BALL% = 0 GOTO "no ball"
ANIMATIONFRAMES FRAMES BALL
DEBUGTEXT "Stepping through the %FRAMES% frames of the ball"
ANIMATIONTOSCREEN BALL -1 44
VARSET F 0
:step
ANIMATIONADVANCE BALL
ANIMATIONDELAY BALL
COMPUTE F = F + 1
IF F < FRAMES GOTO "step"
ANIMATIONCLOSE BALL
:no ball
TEXTCOLOR 252
TEXTSETXY 124 168
TEXT "The end"
DELAY 1500
:no window

DEBUGTEXT "The end"
END

:next fib
COMPUTE T = A + B
VARSET A B; VARSET B T
COMPUTE I = I + 1
RETURN

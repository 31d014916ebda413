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

# The presentation window: a palette set through a bitmap, boxes, a line and
# text in the built-in font. Headless runs write what it shows as a PPM
# snapshot (make demo puts it in build/demo-snapshots).
SCREENWINDOWTITLE "GlintScr demo"
SCREENGRAPHICS OK 320 200
IF %OK% = 0 GOTO "no window"
BITMAPALLOC P 1 1
BITMAPGETPALETTE P
BITMAPSETPALETTEVALUE P 1 6029312
BITMAPSETPALETTEVALUE P 2 4245503
BITMAPSETPALETTEVALUE P 3 16777215
BITMAPSETPALETTEVALUE P 4 3158271
BITMAPSETPALETTE P
SCREENCLEAR 1
SCREENFILLEDBOX 20 30 280 50 4
SCREENBOX 10 10 300 180 3
SCREENLINE 10 120 309 189 2
TEXTSETXY 60 47
TEXTCOLOR 3
TEXTBACKCOLOR 4
TEXTTRANSCOLOR 4
TEXT "Hello from GlintScr"
TEXTSETXY 30 140
TEXTCOLOR 2
TEXTBACKCOLOR 1
TEXTTRANSCOLOR 1
TEXT "Scripts, bitmaps and text"
DEBUGTEXT "The window shows a greeting for three seconds"
DELAY 3000
:no window

DEBUGTEXT "The end"
END

:next fib
COMPUTE T = A + B
VARSET A B; VARSET B T
COMPUTE I = I + 1
RETURN

# The demonstration presentation. It grows as the player learns to show
# things; until the display exists it narrates through the debug trace.
# After `make demo`, read build/demo-trace.txt. Started from elsewhere, the
# trace cannot be created and the demo runs silently.
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

DEBUGTEXT "The end"
END

:next fib
COMPUTE T = A + B
VARSET A B; VARSET B T
COMPUTE I = I + 1
RETURN

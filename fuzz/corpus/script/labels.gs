: start
:LLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLLL
GOTO " start"
CALLANDGOSUB "lib" "lllllllllllllllllllllllllllllllllll"
VARSET L "%L%%L%"
IF L @<> "" RETURN

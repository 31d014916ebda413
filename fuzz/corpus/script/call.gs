CALL "sub"
CALLANDGOSUB "lib" "l"
CALL "xmissing"
:l
RETURN

; The demonstration presentation. It grows as the player learns to show things.
VARSET GREETING "Hello from GlintScr"
END

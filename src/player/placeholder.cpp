// placeholder so that the player library exists before its first source lands

// placeholder so that the media library exists before its first source lands

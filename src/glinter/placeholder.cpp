// placeholder so that the glinter library exists before its first source lands

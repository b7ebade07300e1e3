a
b

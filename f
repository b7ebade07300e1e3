a
b
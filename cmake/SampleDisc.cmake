# The sample disc that ships with the program, assembled next to Varnolt.exe.

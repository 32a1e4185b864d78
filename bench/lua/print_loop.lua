-- print_loop.lua: the loop of programs/print_loop.tarnel written by hand in
-- Lua 5.4: the same text, written with io.write.
local i = 0
repeat
  i = i + 1
  io.write(i)
  io.write("\n")
until not (i < 1000000)

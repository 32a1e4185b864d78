-- integer_loop.lua: the loop of programs/integer_loop.tarnel written by hand
-- in Lua 5.4, the yardstick for kivinterp's speed.
local sum, count = 0, 3000000
repeat
  sum = sum + count
  count = count - 1
until not (count > 0)
print(sum)

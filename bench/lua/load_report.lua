-- load_report.lua FILE.kiv: what kivinterp does before a program's first
-- instruction, written by hand in Lua 5.4 as the yardstick for its loader:
-- read the bytecode file, cut its two sections into variable and code
-- records, point each jump at its label's position, and write debug.html
-- with the same rows. The benchmark's files hold no quotes, so a comma
-- always ends an entry here.
local file = assert(io.open(arg[1], "rb"))
local text = file:read("a")
file:close()

local function section(keyword)
  local first = text:find(keyword, 1, true)
  if not first then return "" end
  local start = first + #keyword
  local stop = text:find("}", start, true)
  return stop and text:sub(start, stop - 1) or ""
end

local typeNames = { ["$"] = "string ($)", ["&"] = "integer (&)", ["#"] = "float (#)" }
local variables = {}
for entry in section("var{"):gmatch("[^,]+") do
  local name, marker, value = entry:match("^([^:$&#]*)([$&#])[^:]*:(.*)$")
  if name then variables[#variables + 1] = { name, typeNames[marker], value } end
end

local code, labels = {}, {}
for entry in section("code{"):gmatch("[^,]+") do
  local label = entry:match("^([^@]*)@")
  if label then
    code[#code + 1] = { "-1", "0", "0", label }
    if labels[label] == nil then labels[label] = #code - 1 end
  else
    local opcode, first, second = entry:match("^([^!]*)!([^:]*):(.*)$")
    if opcode then code[#code + 1] = { opcode, first, second } end
  end
end
for _, record in ipairs(code) do
  local opcode = tonumber(record[1])
  if opcode and opcode >= 15 and opcode <= 21 and labels[record[2]] then
    record[2] = tostring(labels[record[2]])
  end
end

local out = {}
out[#out + 1] = '<HTML><BODY><FONT COLOR="#BD0000" FACE="FIXEDSYS"><b>Variables</b><br><br>'
for _, v in ipairs(variables) do
  out[#out + 1] = '<font color="blue">' .. v[1] .. '</font> of type ' .. v[2] ..
      ' = <font color="green">' .. v[3] .. '</font><br>'
end
out[#out + 1] = '<br><br><b>Code Layout</b><br><br>\n'
for _, record in ipairs(code) do
  if record[4] then
    out[#out + 1] = '<font color="blue">' .. record[4] .. ':</font><br>'
  else
    out[#out + 1] = 'opcode (<font color="green">' .. record[1] ..
        '</font>) operands (<font color="green">' .. record[2] .. ',' .. record[3] ..
        '</font>)<br>'
  end
end
out[#out + 1] = '</FONT></BODY></HTML>'
local report = assert(io.open("debug.html", "wb"))
report:write(table.concat(out))
report:close()

-- A string built from 100,000 pieces (a table of pieces, the idiomatic way).
local function build()
  local parts = {}
  for i = 1, 100000 do
    parts[#parts + 1] = "x" .. i
  end
  return #table.concat(parts)
end

print(build())

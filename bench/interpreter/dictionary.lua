-- 100,000 dictionary insertions and lookups.
local function dictionary_test()
  local d = {}
  for i = 1, 100000 do
    d["k" .. i] = i
  end
  local total = 0
  for i = 1, 100000 do
    total = total + d["k" .. i]
  end
  return total
end

print(dictionary_test())

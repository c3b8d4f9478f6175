-- Filling and summing an array of one million elements.
local function array_sum()
  local a = {}
  for i = 0, 999999 do
    a[i] = i * 2
  end
  local total = 0
  for i = 0, 999999 do
    total = total + a[i]
  end
  return total
end

print(array_sum())

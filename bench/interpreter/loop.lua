-- Ten million iterations of integer arithmetic.
local function arithmetic()
  local total = 0
  for i = 1, 10000000 do
    total = total + (i % 7) * 3 - 1
  end
  return total
end

print(arithmetic())

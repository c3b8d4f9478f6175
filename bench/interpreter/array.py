# Filling and summing an array of one million elements.
def array_sum():
    a = [0] * 1000000
    for i in range(1000000):
        a[i] = i * 2
    total = 0
    for i in range(1000000):
        total = total + a[i]
    return total


print(array_sum())

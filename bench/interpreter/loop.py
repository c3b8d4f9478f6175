# Ten million iterations of integer arithmetic.
def arithmetic():
    total = 0
    for i in range(1, 10000001):
        total = total + (i % 7) * 3 - 1
    return total


print(arithmetic())

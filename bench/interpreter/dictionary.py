# 100,000 dictionary insertions and lookups.
def dictionary_test():
    d = {}
    for i in range(1, 100001):
        d["k" + str(i)] = i
    total = 0
    for i in range(1, 100001):
        total = total + d["k" + str(i)]
    return total


print(dictionary_test())

avacprvní øádek

tøetí=3

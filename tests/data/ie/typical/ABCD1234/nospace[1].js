var x;

	
 SELECT 'a;b', "x;""y" -- c;
/* ; */ FROM T ;  
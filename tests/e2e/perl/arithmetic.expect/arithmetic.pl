#!/usr/bin/perl 



$false = 0;
$true = 1;

$i = 7;
$f = 1.5;
$two = 2;
$i += 2;
printf("%i",$i);
printf(" ");
$i -= $two;
printf("%i",$i);
printf(" ");
$i *= 3;
printf("%i",$i);
printf(" ");
$i /= $two;
printf("%i",$i);
printf(" ");
$i = $i & 6;
printf("%i",$i);
printf(" ");
$i = $i | 5;
printf("%i",$i);
printf(" ");
$i = $i ^ 3;
printf("%i",$i);
printf(" ");
$i =  ! $i;
printf("%i",$i);
printf(" ");
$i = $i + 1 ;
printf("%i",$i);
printf("\n");
$f = $f - 1 ;
$f = $f + 1 ;
$f += $two;
$f *= 2;
$f /= $two;
printf("%d",$f);
printf("\n");

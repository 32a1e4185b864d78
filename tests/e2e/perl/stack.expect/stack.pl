#!/usr/bin/perl 



$false = 0;
$true = 1;

$n = 7;
$first = 0;
$second = 0;
$word="";
 $stack[$stackpointer] = 5;
$stackpointer += 1;
 $stack[$stackpointer] = $n;
$stackpointer += 1;
 $stack[$stackpointer] = "top";
$stackpointer += 1;
 $stackpointer -= 1; 
$word = $stack[$stackpointer];
 $stackpointer -= 1; 
$first = $stack[$stackpointer];
 $stackpointer -= 1; 
$second = $stack[$stackpointer];
printf($word);
printf("%i",$first);
printf("%i",$second);
printf("\n");
